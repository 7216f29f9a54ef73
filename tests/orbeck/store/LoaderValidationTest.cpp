// Documents the loader must refuse: each names the offending place by its JSON pointer and
// leaves the store that was there before byte for byte unchanged, with no file left behind.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "orbeck/store/HostDataLoader.h"
#include "orbeck/store/HostDocumentParser.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

namespace {

using nlohmann::json;
using velmora::test::TestHost;

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

struct BadCase {
  const char* what;
  std::function<void(json&)> spoil;
  const char* pointer;  // the message must start with this pointer and ": "
};

void PrintTo(const BadCase& badCase, std::ostream* out) { *out << badCase.what; }

class LoaderRefuses : public ::testing::TestWithParam<BadCase> {};

TEST_P(LoaderRefuses, NamesThePlaceAndKeepsTheEarlierStore) {
  TestHost host;
  ASSERT_TRUE(host.loaded());
  std::string before = velmora::test::ReadBytes(host.storePath());
  json doc = TestHost::MinimalCompany();
  GetParam().spoil(doc);
  std::string error;
  EXPECT_FALSE(host.TryLoad(doc, error)) << GetParam().what;
  EXPECT_EQ(std::string(GetParam().pointer) + ": ",
            error.substr(0, std::string(GetParam().pointer).size() + 2))
      << "message: " << error;
  // Read as a stream, the document's text is refused with the same message.
  std::string streamError;
  EXPECT_EQ(0, orbeck::store::LoadHostDataText(doc.dump(), host.home(), streamError));
  EXPECT_EQ(error, streamError);
  EXPECT_EQ(before, velmora::test::ReadBytes(host.storePath()));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(host.home())) ++files;
  EXPECT_EQ(2u, files) << "a temporary file was left beside the store and its seal";
}

json& Account(json& doc, int index) { return doc["data"][0]["accounts"][static_cast<std::size_t>(index)]; }
json& Line(json& doc) { return doc["data"][0]["journals"][0]["lines"][0]; }
json& Journal(json& doc) { return doc["data"][0]["journals"][0]; }

// The document with the consumption-tax accounts 仮払消費税 1420000 (and its sub-account
// 1420001) and 仮受消費税 4190000, whose sub-account 4190001 has an ordinary character.
json& WithTaxAccounts(json& doc) {
  json& accounts = doc["data"][0]["accounts"];
  accounts.push_back({{"code", 1420000},
                      {"name", "仮払消費税"},
                      {"kind", 0},
                      {"debitNature", 1},
                      {"character", "0x80880810"}});
  accounts.push_back({{"code", 1420001},
                      {"name", "仮払消費税 本社"},
                      {"kind", 0},
                      {"debitNature", 1},
                      {"character", "0x80880810"}});
  accounts.push_back({{"code", 4190000},
                      {"name", "仮受消費税"},
                      {"kind", 0},
                      {"debitNature", 0},
                      {"character", "0x80484010"}});
  accounts.push_back({{"code", 4190001},
                      {"name", "仮受消費税 支店"},
                      {"kind", 0},
                      {"debitNature", 0},
                      {"character", "0x80480100"}});
  return doc;
}

const BadCase kBadCases[] = {
    {"tax on the paid-tax account's own side",
     [](json& d) {
       Line(WithTaxAccounts(d))["debit"] = 1420000;
       Line(d)["debitTax"] = "100";
     },
     "/data/0/journals/0/lines/0/debitTax"},
    {"tax on the other side of a line on a received-tax sub-account",
     [](json& d) {
       Line(WithTaxAccounts(d))["debit"] = 4190001;
       Line(d)["creditTax"] = "7";
     },
     "/data/0/journals/0/lines/0/creditTax"},
    {"taxed purchase paid from the paid-tax sub-account",
     [](json& d) {
       Line(WithTaxAccounts(d))["credit"] = 1420001;
       Line(d)["debitTax"] = "0.0001";
     },
     "/data/0/journals/0/lines/0/debitTax"},

    {"amount as a JSON number", [](json& d) { Line(d)["debitAmount"] = 120000; },
     "/data/0/journals/0/lines/0/debitAmount"},
    {"five decimals", [](json& d) { Account(d, 0)["opening"] = "1.23456"; }, "/data/0/accounts/0/opening"},
    {"amount beyond int64", [](json& d) { Account(d, 0)["opening"] = "922337203685477.5808"; },
     "/data/0/accounts/0/opening"},
    {"name without a code page 932 form", [](json& d) { Account(d, 1)["name"] = "売掛金\U0001F600"; },
     "/data/0/accounts/1/name"},
    {"name of 31 bytes", [](json& d) { Account(d, 1)["name"] = Repeat("あ", 15) + "a"; },
     "/data/0/accounts/1/name"},
    {"second name of 32 bytes", [](json& d) { Account(d, 1)["secondName"] = Repeat("売", 16); },
     "/data/0/accounts/1/secondName"},
    {"description of 61 bytes", [](json& d) { Line(d)["description"] = Repeat("x", 61); },
     "/data/0/journals/0/lines/0/description"},
    {"company of 260 bytes", [](json& d) { d["data"][0]["companyName"] = Repeat("社", 130); },
     "/data/0/companyName"},
    {"user id of 65 bytes", [](json& d) { d["users"][0]["id"] = Repeat("u", 65); }, "/users/0/id"},
    {"data id of 16 characters", [](json& d) { d["data"][0]["dataId"] = Repeat("D", 16); }, "/data/0/dataId"},
    {"era name of 16 bytes", [](json& d) { d["eras"][0]["name"] = Repeat("明", 8); }, "/eras/0/name"},
    {"two data with one id",
     [](json& d) {
       json second = d["data"][0];
       second["selectedNo"] = 2;
       d["data"].push_back(second);
     },
     "/data/1/dataId"},
    {"journal on an unknown account", [](json& d) { Line(d)["credit"] = 8120000; },
     "/data/0/journals/0/lines/0/credit"},
    {"journal on a total row", [](json& d) { Line(d)["debit"] = 1990000; },
     "/data/0/journals/0/lines/0/debit"},
    {"unknown member", [](json& d) { Account(d, 2)["members"].push_back(1360000); },
     "/data/0/accounts/2/members/2"},
    {"members on an ordinary account", [](json& d) { Account(d, 0)["members"] = {1350000}; },
     "/data/0/accounts/0/members"},
    {"cycle through two totals", [](json& d) { Account(d, 2)["members"].push_back(2990000); },
     "/data/0/accounts/3/members/0"},
    {"total that is its own member", [](json& d) { Account(d, 3)["members"].push_back(2990000); },
     "/data/0/accounts/3/members/1"},
    {"kind given as text", [](json& d) { Account(d, 0)["kind"] = "0"; }, "/data/0/accounts/0/kind"},
    {"misspelt member name", [](json& d) { Account(d, 0)["nmae"] = "現金"; }, "/data/0/accounts/0/nmae"},
    {"journal after the period", [](json& d) { d["data"][0]["journals"][0]["date"] = 20250401; },
     "/data/0/journals/0/date"},
    {"date that is no calendar day", [](json& d) { d["data"][0]["journals"][0]["date"] = 20240231; },
     "/data/0/journals/0/date"},
    // A journal is read from the text without a tree when it is valid on its own; every
    // fault of one must still be found, and named as the tree names it.
    {"journal id 0", [](json& d) { Journal(d)["id"] = 0; }, "/data/0/journals/0/id"},
    {"journal id beyond int32", [](json& d) { Journal(d)["id"] = 2147483648LL; }, "/data/0/journals/0/id"},
    {"journal id as a float", [](json& d) { Journal(d)["id"] = 1.0; }, "/data/0/journals/0/id"},
    {"journal without a date", [](json& d) { Journal(d).erase("date"); }, "/data/0/journals/0/date"},
    {"adjustment 12", [](json& d) { Journal(d)["adjustment"] = 12; }, "/data/0/journals/0/adjustment"},
    {"journal without lines", [](json& d) { Journal(d)["lines"] = json::array(); },
     "/data/0/journals/0/lines"},
    {"lines as an object", [](json& d) { Journal(d)["lines"] = json::object(); }, "/data/0/journals/0/lines"},
    {"line that is a number", [](json& d) { Journal(d)["lines"].push_back(3); },
     "/data/0/journals/0/lines/1"},
    {"unknown journal member", [](json& d) { Journal(d)["memo"] = "x"; }, "/data/0/journals/0/memo"},
    {"unknown line member", [](json& d) { Line(d)["memo"] = "x"; }, "/data/0/journals/0/lines/0/memo"},
    {"line without accounts",
     [](json& d) {
       Line(d).erase("debit");
       Line(d).erase("credit");
       Line(d).erase("debitAmount");
       Line(d).erase("creditAmount");
     },
     "/data/0/journals/0/lines/0"},
    {"tax on a side without an account",
     [](json& d) {
       Line(d).erase("debit");
       Line(d).erase("debitAmount");
       Line(d)["debitTax"] = "10";
     },
     "/data/0/journals/0/lines/0/debitTax"},
    {"negative account code", [](json& d) { Line(d)["debit"] = -1350000; },
     "/data/0/journals/0/lines/0/debit"},
    {"counter kind 256", [](json& d) { Line(d)["counterKind"] = 256; },
     "/data/0/journals/0/lines/0/counterKind"},
    {"description as a number", [](json& d) { Line(d)["description"] = 5; },
     "/data/0/journals/0/lines/0/description"},
    {"description with a NUL", [](json& d) { Line(d)["description"] = std::string("a\0b", 3); },
     "/data/0/journals/0/lines/0/description"},
    {"amount with a nested value", [](json& d) { Line(d)["creditAmount"] = json::array({"1"}); },
     "/data/0/journals/0/lines/0/creditAmount"},
    {"current user not among the users", [](json& d) { d["currentUser"] = "nobody"; }, "/currentUser"},
    {"duplicate account code", [](json& d) { Account(d, 1)["code"] = 1110000; }, "/data/0/accounts/1/code"},
    {"sub-account without its parent", [](json& d) { Account(d, 1)["code"] = 1360001; },
     "/data/0/accounts/1/code"},
    {"character that is not hex", [](json& d) { Account(d, 0)["character"] = "80880800"; },
     "/data/0/accounts/0/character"},
    {"sums with 14 entries",
     [](json& d) {
       json fourteen = json::array();
       for (int i = 0; i < 14; ++i) fourteen.push_back("0");
       json set = {{"debit", fourteen}, {"credit", fourteen}};
       Account(d, 0)["sums"] = {{"set1", set}, {"set2", set}};
     },
     "/data/0/accounts/0/sums/set1/debit"},
    {"total overflowing int64",
     [](json& d) {
       Account(d, 0)["opening"] = "922337203685477";
       Account(d, 1)["opening"] = "922337203685477";
     },
     "/data/0/accounts/2/members/1"},
    {"wrong format name", [](json& d) { d["format"] = "other"; }, "/format"},
    // Account numbers are 1 to 9999: the code divided by 10000.
    {"account number 10000", [](json& d) { Account(d, 1)["code"] = 100000000; }, "/data/0/accounts/1/code"},
    {"account number 0", [](json& d) { Account(d, 1)["code"] = 9999; }, "/data/0/accounts/1/code"},
    // A user id becomes a line of the settings file.
    {"user id with a line feed", [](json& d) { d["users"][0]["id"] = "user1\nforged=1"; }, "/users/0/id"},
    {"user id with a slash", [](json& d) { d["users"][0]["id"] = "a/b"; }, "/users/0/id"},
    {"user id with a colon", [](json& d) { d["users"][0]["id"] = "c:"; }, "/users/0/id"},
    // A member name's control characters are written escaped, so the message stays one line.
    {"member name with control characters", [](json& d) { d["data"][0]["x\n\x1b[31m"] = 1; },
     "/data/0/x\\u000a\\u001b[31m"},
};

INSTANTIATE_TEST_SUITE_P(BadDocuments, LoaderRefuses, ::testing::ValuesIn(kBadCases),
                         [](const ::testing::TestParamInfo<BadCase>& param) {
                           std::string name = param.param.what;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(LoaderTaxLines, TheMessageNamesTheJournalAndLineAndAnUntaxedLineIsTaken) {
  json doc = TestHost::MinimalCompany();
  json& journal = Journal(WithTaxAccounts(doc));
  journal["lines"].push_back(
      {{"debit", 4190000}, {"debitAmount", "100"}, {"credit", 1420000}, {"creditAmount", "100"}});
  TestHost host(nullptr);
  std::string error;
  EXPECT_TRUE(host.TryLoad(doc, error)) << "a line on the tax accounts without a tax: " << error;
  journal["lines"][1]["creditTax"] = "10";
  EXPECT_FALSE(host.TryLoad(doc, error));
  EXPECT_EQ(
      "/data/0/journals/0/lines/1/creditTax: journal 1 line 2 names the consumption-tax account "
      "4190000 and carries a tax; such a line carries none",
      error);
}

// The document as text: what a parsed tree cannot show (a member given twice, in any
// object) and journals that are not objects, which the streamed reading takes apart.
TEST(LoaderText, RefusesDuplicateMembersAndJournalsThatAreNoObjects) {
  const std::string text = TestHost::MinimalCompany().dump();
  const struct {
    const char* once;
    const char* spoiled;
    const char* message;
  } cases[] = {
      {"\"currentUser\":\"user1\"", "\"currentUser\":\"user1\",\"currentUser\":\"user1\"",
       "/currentUser: duplicate member"},
      {"\"dataId\":\"D1\"", "\"dataId\":\"D1\",\"dataId\":\"D2\"", "/data/0/dataId: duplicate member"},
      {"\"creditAmount\":\"120000\"", "\"creditAmount\":\"120000\",\"creditAmount\":\"1\"",
       "/data/0/journals/0/lines/0/creditAmount: duplicate member"},
      {"\"journals\":[{", "\"journals\":[7,{", "/data/0/journals/0: must be an object"},
      {"\"journals\":[{", "\"journals\":[{\"id\":2,\"date\":20240401,\"lines\":[{\"debit\":1110000}]},[],{",
       "/data/0/journals/1: must be an object"},
  };
  for (const auto& c : cases) {
    std::string spoiled = text;
    const std::size_t at = spoiled.find(c.once);
    ASSERT_NE(std::string::npos, at) << c.once;
    spoiled.replace(at, std::string(c.once).size(), c.spoiled);
    TestHost host(nullptr);
    std::string error;
    EXPECT_EQ(0, orbeck::store::LoadHostDataText(spoiled, host.home(), error));
    EXPECT_EQ(c.message, error);
    EXPECT_FALSE(std::filesystem::exists(host.storePath()));
  }
}

// Texts the quick reader leaves to nlohmann's, or must not take as JSON although it reads a
// NUL as the end: read from text and from a file, each gets the verdict and message of the
// careful reading, which stays the judge.
TEST(LoaderText, TextsAtTheEdgeOfJsonGetTheCarefulReadingsVerdict) {
  const std::string doc = TestHost::MinimalCompany().dump();
  const std::string line = "\"creditAmount\":\"120000\"";
  auto withLine = [&](const std::string& extra) {
    std::string text = doc;
    text.replace(text.find(line), line.size(), line + "," + extra);
    return text;
  };
  auto withDescription = [&](const std::string& value) {
    std::string text = doc;
    const std::size_t at = text.find("\"description\":\"") + 15;
    text.replace(at, text.find('"', at) - at, value);
    return text;
  };
  const struct {
    const char* what;
    std::string text;
    int verdict;
    const char* message;  // how the message starts
  } cases[] = {
      {"byte order mark", "\xEF\xBB\xBF" + doc, 1, ""},
      {"trailing white space", doc + " \r\n\t", 1, ""},
      // nlohmann's reader ends the text at a NUL, as the quick one does; what follows is not read
      {"NUL after the document", doc + std::string(1, '\0') + "}", 1, ""},
      {"NUL inside the document", doc.substr(0, 20) + std::string(1, '\0') + doc.substr(20), 0,
       "not JSON (byte "},
      {"second document", doc + doc, 0, "not JSON (byte "},
      {"lone low surrogate escaped", withDescription("a\\udc00"), 0, "not JSON (byte "},
      {"lone high surrogate escaped", withDescription("\\ud800x"), 0, "not JSON (byte "},
      {"surrogate pair escaped", withDescription("\\ud83d\\ude00"), 0,
       "/data/0/journals/0/lines/0/description: text is not representable"},
      {"surrogate in UTF-8", withDescription("\xED\xA0\x80"), 0, "not JSON (byte "},
      {"beyond U+10FFFF in UTF-8", withDescription("\xF4\x90\x80\x80"), 0, "not JSON (byte "},
      {"overlong UTF-8", withDescription("\xC0\xAF"), 0, "not JSON (byte "},
      {"number beyond a double", withLine("\"counterKind\":1e400"), 0, "not JSON (byte "},
      {"number beyond 64 bits", withLine("\"counterKind\":18446744073709551616"), 0,
       "/data/0/journals/0/lines/0/counterKind: must be an integer"},
      {"deep nesting", "{\"deep\":" + Repeat("[", 5000) + Repeat("]", 5000) + "," + doc.substr(1), 0,
       "/deep: unknown member"},
      {"deep nesting in a journal", withLine("\"deep\":" + Repeat("{\"a\":", 300) + "0" + Repeat("}", 300)),
       0, "/data/0/journals/0/lines/0/deep: unknown member"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    orbeck::store::HostDocument careful;
    std::string judged;
    EXPECT_EQ(c.verdict, orbeck::store::ParseHostDocumentTextCarefully(c.text, careful, judged));
    EXPECT_TRUE(judged.starts_with(c.message)) << judged;

    TestHost fromText(nullptr);
    std::string error;
    EXPECT_EQ(c.verdict, orbeck::store::LoadHostDataText(c.text, fromText.home(), error));
    EXPECT_EQ(judged, error);

    TestHost fromFile(nullptr);
    const std::filesystem::path file = fromFile.root() / "company.json";
    std::ofstream(file, std::ios::binary) << c.text;
    EXPECT_EQ(c.verdict, orbeck::store::LoadHostDataFile(file, fromFile.home(), error));
    EXPECT_EQ(judged.starts_with("not JSON") ? file.string() + ": " + judged : judged, error);
  }
}

TEST(LoaderText, ReadsTheDemoCompanyAsTheTreeDoes) {
  const json demo = TestHost::LoadDemoCompany();
  TestHost fromTree(demo);
  TestHost fromText(nullptr);
  std::string error;
  ASSERT_EQ(1, orbeck::store::LoadHostDataText(demo.dump(1), fromText.home(), error)) << error;
  json treeDump, textDump;
  ASSERT_EQ(1, orbeck::store::DumpHostData(fromTree.home(), treeDump, error)) << error;
  ASSERT_EQ(1, orbeck::store::DumpHostData(fromText.home(), textDump, error)) << error;
  EXPECT_TRUE(treeDump == textDump);
}

TEST(LoaderText, ReadsEveryFormOfAValidJournalAsTheTreeDoes) {
  json doc = TestHost::MinimalCompany();
  json& journals = doc["data"][0]["journals"];
  journals.push_back({{"lines", {{{"credit", 1350000}, {"creditAmount", "-2.5"}, {"counterKind", 34}}}},
                      {"adjustment", 13},
                      {"date", 20250331},
                      {"id", 2147483647}});
  journals.push_back({{"id", 7},
                      {"date", 20240501},
                      {"lines",
                       {{{"debit", 1110000},
                         {"debitAmount", "0"},
                         {"debitTax", "100.0001"},
                         {"description", "\"引用\" \\ <&> \t 摘要"}},
                        {{"credit", 8110000}, {"creditTax", "0"}, {"description", ""}, {"counterKind", 0}},
                        {{"debit", 0}, {"credit", 5110000}, {"creditAmount", "12345678901.2345"}}}}});
  TestHost fromTree(doc);
  TestHost fromText(nullptr);
  std::string error;
  ASSERT_EQ(1, orbeck::store::LoadHostDataText(doc.dump(), fromText.home(), error)) << error;
  json treeDump, textDump;
  ASSERT_EQ(1, orbeck::store::DumpHostData(fromTree.home(), treeDump, error)) << error;
  ASSERT_EQ(1, orbeck::store::DumpHostData(fromText.home(), textDump, error)) << error;
  EXPECT_EQ(treeDump, textDump);
  EXPECT_EQ(3u, textDump["data"][0]["journals"].size());
}

TEST(LoaderLimits, AcceptsTextsThatFillTheirFieldsExactly) {
  json doc = TestHost::MinimalCompany();
  Account(doc, 1)["name"] = Repeat("あ", 15);
  Line(doc)["description"] = Repeat("摘", 30);
  doc["data"][0]["companyName"] = Repeat("社", 129) + "x";
  doc["users"][0]["id"] = Repeat("u", 64);
  doc["currentUser"] = Repeat("u", 64);
  doc["data"][0]["dataId"] = Repeat("D", 15);
  doc["eras"][0]["name"] = Repeat("明", 7) + "x";
  TestHost host(doc);
  EXPECT_TRUE(host.loaded());
}

TEST(LoaderLimits, ARefusedFirstLoadLeavesNoStore) {
  TestHost host(nullptr);
  json doc = TestHost::MinimalCompany();
  Line(doc)["debitAmount"] = "1.00001";
  std::string error;
  EXPECT_FALSE(host.TryLoad(doc, error));
  EXPECT_FALSE(std::filesystem::exists(host.storePath()));
  EXPECT_TRUE(std::filesystem::is_empty(host.home()));
}

TEST(LoaderLimits, FileThatIsNotJsonNamesTheFile) {
  TestHost host(nullptr);
  std::filesystem::path file = host.root() / "broken.json";
  std::ofstream(file) << "{\"format\": ";
  std::string error;
  EXPECT_EQ(0, orbeck::store::LoadHostDataFile(file, host.home(), error));
  EXPECT_NE(std::string::npos, error.find("broken.json")) << error;
  EXPECT_FALSE(std::filesystem::exists(host.storePath()));
}

}  // namespace

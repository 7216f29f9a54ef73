// The document read as text, as the streamed reading takes it apart: what a parsed tree
// cannot show, texts at the edge of JSON, a file that is not JSON, and valid documents,
// which must come out as the tree makes them.
#include <gtest/gtest.h>

#include <fstream>

#include "orbeck/store/HostDataLoader.h"
#include "orbeck/store/HostDocumentParser.h"
#include "tests/orbeck/store/LoaderCases.h"
#include "tests/support/TestHost.h"

namespace orbeck::store::test {
namespace {

using velmora::test::TestHost;

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
      {"zero with a large exponent", withLine("\"counterKind\":0e66"), 0,
       "/data/0/journals/0/lines/0/counterKind: must be an integer"},
      {"largest double written long", withLine("\"counterKind\":17976931348623157e292"), 0,
       "/data/0/journals/0/lines/0/counterKind: must be an integer"},
      {"number that rounds beyond a double", withLine("\"counterKind\":17976931348623159e292"), 0,
       "not JSON (byte "},
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
}  // namespace orbeck::store::test

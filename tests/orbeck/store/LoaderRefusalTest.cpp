// Documents the loader must refuse: each names the offending place by its JSON pointer and
// leaves the store that was there before byte for byte unchanged, with no file left behind;
// and the texts that just fill their fields, which it takes.
#include <gtest/gtest.h>

#include "orbeck/store/HostDataLoader.h"
#include "tests/orbeck/store/LoaderCases.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

namespace orbeck::store::test {
namespace {

using velmora::test::TestHost;

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

const BadCase kBadCases[] = {
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

INSTANTIATE_TEST_SUITE_P(BadDocuments, LoaderRefuses, ::testing::ValuesIn(kBadCases), CaseName);

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

}  // namespace
}  // namespace orbeck::store::test

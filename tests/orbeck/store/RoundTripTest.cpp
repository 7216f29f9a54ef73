// Dump and load again: the second store must be the first one row for row, and the
// orbeck-admin command must do the same through files and exit codes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "orbeck/store/HostDataLoader.h"
#include "tests/orbeck/store/StoreQuery.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

namespace {

using nlohmann::json;
using orbeck::store::test::StoreQuery;
using velmora::test::TestHost;

void ExpectRoundTrip(const json& original) {
  TestHost first(original);
  ASSERT_TRUE(first.loaded());
  json dumped;
  std::string error;
  ASSERT_EQ(1, orbeck::store::DumpHostData(first.home(), dumped, error)) << error;
  TestHost second(dumped);
  ASSERT_TRUE(second.loaded());
  std::string firstImage = StoreQuery(first.storePath()).Image();
  EXPECT_EQ(firstImage, StoreQuery(second.storePath()).Image());
  EXPECT_GT(firstImage.size(), 1000u);
  json dumpedAgain;
  ASSERT_EQ(1, orbeck::store::DumpHostData(second.home(), dumpedAgain, error)) << error;
  EXPECT_EQ(dumped, dumpedAgain);
}

TEST(RoundTrip, MinimalCompanyWithTaxesSubAccountsAndSavedDocuments) {
  json doc = TestHost::MinimalCompany();
  doc["expSysLink"] = 1;
  doc["data"][0]["accounts"].push_back({{"code", 1110002},
                                        {"name", "小口現金"},
                                        {"secondName", "小口"},
                                        {"kind", 0},
                                        {"debitNature", 1},
                                        {"character", 2156398592u},
                                        {"flags", {1, 2}}});
  doc["data"][0]["journals"].push_back(
      {{"id", 9},
       {"date", 20250331},
       {"adjustment", 13},
       {"lines",
        {{{"debit", 1110002},
          {"debitAmount", "0.0001"},
          {"debitTax", "-0.5"},
          {"description", "ｶﾅ&<>\"'"},
          {"counterKind", 34}},
         {{"credit", 8110000}, {"creditAmount", "-0.4999"}, {"counterKind", 34}}}}});
  doc["data"][0]["savedDocuments"] = {{"0", "Note=1\r\n"}, {"1000", "<ID>1000010\r\n<Line>～①㈱\r\n"}};
  json second = doc["data"][0];
  second["dataId"] = "D2";
  second["selectedNo"] = 7;
  second.erase("tax");
  doc["data"].push_back(second);
  ExpectRoundTrip(doc);
}

TEST(RoundTrip, DemoCompany) {
  json demo = TestHost::LoadDemoCompany();
  ASSERT_FALSE(demo.is_null());
  ExpectRoundTrip(demo);
}

class AdminCommand : public ::testing::Test {
 protected:
  // Runs the command line with stderr to a file; returns the exit code.
  int Run(const std::string& arguments) {
    std::string command =
        std::string(ORBECK_ADMIN_PATH) + " " + arguments + " 2>" + (host.root() / "stderr.txt").string();
    return velmora::test::RunCommand(command);
  }
  // The tool's standard error is text: its lines end in CR LF on Windows.
  std::string Stderr() {
    std::string text = velmora::test::ReadBytes(host.root() / "stderr.txt");
    std::erase(text, '\r');
    return text;
  }
  TestHost host{nullptr};
};

TEST_F(AdminCommand, LoadsIntoOrbeckHomeAndDumpsToAFile) {
  std::filesystem::path input = host.root() / "in.json";
  std::ofstream(input) << TestHost::MinimalCompany().dump();
  ASSERT_EQ(0, Run("load " + input.string())) << Stderr();
  EXPECT_TRUE(std::filesystem::exists(host.storePath()));
  std::filesystem::path output = host.root() / "out.json";
  ASSERT_EQ(0, Run("dump " + output.string())) << Stderr();
  std::filesystem::path otherHome = host.root() / "other";
  ASSERT_EQ(0, Run("load " + output.string() + " --home " + otherHome.string())) << Stderr();
  EXPECT_EQ(StoreQuery(host.storePath()).Image(), StoreQuery(otherHome / "orbeck.db").Image());
}

TEST_F(AdminCommand, RefusedDocumentExitsWithOneAndAPointer) {
  json doc = TestHost::MinimalCompany();
  doc["data"][0]["accounts"][4]["name"] = "資本金\u00e9";
  std::filesystem::path input = host.root() / "bad.json";
  std::ofstream(input) << doc.dump();
  EXPECT_EQ(1, Run("load " + input.string()));
  EXPECT_EQ("orbeck-admin: /data/0/accounts/4/name: text is not representable in code page 932\n", Stderr());
  EXPECT_FALSE(std::filesystem::exists(host.storePath()));
  EXPECT_EQ(1, Run("dump"));
  EXPECT_NE(std::string::npos, Stderr().find("no store")) << Stderr();
}

}  // namespace

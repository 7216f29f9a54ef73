// The runtime over stores that the store's own loader built from host data documents:
// what the loader writes is what the runtime serves, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orbeck/RuntimeStatus.h"
#include "platform/ui/RecordingBackend.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/support/TestHost.h"

namespace {

using velmora::test::TestHost;

class LoadedStoreTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ClAccConnect::Inst().LogOut();
    ClAccConnect::Inst().Terminate();
    ClAccConnect::Inst().Release();
  }
  ClSetData& DataSet() { return *static_cast<ClSetData*>(ClDataMgr::Inst().GetSetObject(5, 1)); }
};

TEST_F(LoadedStoreTest, UserSelectionAndProfile) {
  TestHost host;
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  char user[65] = {};
  ASSERT_EQ(ClDataMgr::Inst().GetSysUserObject()->GetCurUserID(user), 0);
  EXPECT_STREQ(user, "user1");
  long first = 0, second = 0;
  ASSERT_EQ(ClDataMgr::Inst().GetSysUserObject()->GetSelectedNo(user, &first, &second), 0);
  EXPECT_EQ(second, 1);
  StDATAINFO info{};
  ASSERT_EQ(DataSet().GetSelectedInfo(&info), 0);
  EXPECT_STREQ(info.dataId, "D1");
  EXPECT_STREQ(info.companyName,
               "\x8a\x94\x8e\xae\x89\xef\x8e\xd0\x83\x65\x83\x58\x83\x67");  // 株式会社テスト
  EXPECT_EQ(info.periodEnd, 20250331);
  EXPECT_EQ(info.companiesActReady, 1);
  EXPECT_EQ(ClAccConnect::Inst().ExpSysLink(), 0);
}

TEST_F(LoadedStoreTest, PackageNameAndExpSysLinkFromTheDocument) {
  nlohmann::json company = TestHost::MinimalCompany();
  company["expSysLink"] = 7;
  TestHost host(company);
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  EXPECT_EQ(ClAccConnect::Inst().ExpSysLink(), 7);
  auto backend = std::make_unique<platform::RecordingBackend>();
  platform::RecordingBackend& ui = *backend;
  platform::SetUi(std::move(backend));
  ClAccConnect::Inst().DispMsg(0, "[ES_APRPACKAGENAME]", "c", platform::MB_OK);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "[Orbeck\x82\x51\x82\x50]");
}

TEST_F(LoadedStoreTest, DerivedSumsReachTheBalanceCursor) {
  TestHost host;
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  ClRuleKamoku rule;
  rule.SetCurDataID("D1");
  ASSERT_EQ(rule.MoveReady(1, 0, 0, nullptr, nullptr, 0), 0);
  std::vector<StKAMOKUSUMINFO> rows;
  StKAMOKUSUMINFO row{};
  while (rule.MoveNext(&row) == 0) rows.push_back(row);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[0].accountCode, 1110000);
  EXPECT_EQ(rows[0].debit1[0], 5000000000);  // 500,000 yen in ten-thousandths
  EXPECT_EQ(rows[1].accountCode, 1350000);
  EXPECT_EQ(rows[1].debit1[1], 1200000000);  // April is the first fiscal month
  EXPECT_EQ(rows[1].debit2[1], 1200000000);
  EXPECT_EQ(std::string(rows[1].officialName), "\x94\x84\x8a\x7c\x8b\xe0");  // 売掛金
}

TEST_F(LoadedStoreTest, LedgerAndJournalOfTheDocument) {
  TestHost host;
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  ClRuleMotocho ledger;
  ledger.SetCurDataID("D1");
  StMOTOCHOHYOJIINFO view{};
  view.accountCode = 8110000;
  ClAccPeriod* period = DataSet().GetAccPeriod();
  ASSERT_NE(period, nullptr);
  long from = 0, to = 0;
  ASSERT_EQ(period->GetPeriodByMonthKind(1, &from, nullptr), 0);
  ASSERT_EQ(period->GetPeriodByMonthKind(12, nullptr, &to), 0);
  view.startDate = static_cast<int32_t>(from);
  view.endDate = static_cast<int32_t>(to);
  ASSERT_EQ(ledger.MoveReady(nullptr, nullptr, &view), 0);
  StMOTOCHOINFO posting{};
  ASSERT_EQ(ledger.MoveFirst(&posting), 0);
  EXPECT_EQ(+posting.side, 1);
  EXPECT_EQ(+posting.creditAmount, 1200000000);
  EXPECT_EQ(+posting.debitCode, 1350000);
  EXPECT_EQ(std::string(posting.description), "4\x8c\x8e\x95\xaa\x94\x84\x8f\xe3");  // 4月分売上
  EXPECT_EQ(ledger.MoveNext(&posting), kEndOfRows);
}

TEST_F(LoadedStoreTest, FoldersInWindowsForm) {
  nlohmann::json company = TestHost::MinimalCompany();
  company["folders"] = {{"0", "out\\"}, {"1", "C:\\Host\\Settings"}};
  TestHost host(company);
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  // The default drive map puts the whole file system under Z:.
  std::string home = host.home().string();
  for (char& c : home)
    if (c == '/') c = '\\';
  EXPECT_EQ(ClFileMgr::Inst().GetAppFolderPath(0), "Z:" + home + "\\out\\");
  EXPECT_EQ(ClFileMgr::Inst().GetAppFolderPath(1), "C:\\Host\\Settings\\");
  EXPECT_EQ(ClFileMgr::Inst().GetAppFolderPath(2), "");
}

TEST_F(LoadedStoreTest, NoStoreNoFolders) {
  TestHost host(nullptr);
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), orbeck::kNoStore);
  EXPECT_EQ(ClFileMgr::Inst().GetAppFolderPath(0), "");
}

}  // namespace

// The balance cursor: balance rows in row order with their sums, the end status and faults.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orbeck/RuntimeStatus.h"
#include "platform/Faults.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/orbeck/runtime/RuntimeWorld.h"

namespace orbeck::test {
namespace {

class BalanceCursorTest : public RuntimeWorld {
 protected:
  void SetUp() override {
    RuntimeWorld::SetUp();
    AttachStandard();
    rule_.AttachSetMgr(ClDataMgr::Inst().GetSetMgr());
    rule_.SetCurDataID("DEMO01");
    rule_.AttachOptLink(ClLinkMgr::Inst().GetOptLink());
  }

  long Ready() {
    StFINDINFO filter{};
    filter.cond[0].item = 17;
    filter.cond[0].comparison = 4;
    filter.cond[0].valueType = 2;
    filter.cond[0].shortValue = 4;
    return rule_.MoveReady(RuleKamokuSumBase_On, RuleKamokuSumBmn_Off, RuleKamokuSumDisp_All, &filter,
                           nullptr, RuleKamokuSumPast_Off);
  }

  std::vector<StKAMOKUSUMINFO> ReadAll() {
    std::vector<StKAMOKUSUMINFO> rows;
    StKAMOKUSUMINFO row;
    std::memset(&row, 0, sizeof row);
    long status = 0;
    while ((status = rule_.MoveNext(&row)) == 0) rows.push_back(row);
    EXPECT_EQ(status, kEndOfRows);
    return rows;
  }

  ClRuleKamoku rule_;
};

TEST_F(BalanceCursorTest, RowsComeInRowOrderAndOnlyBalanceRows) {
  ASSERT_EQ(Ready(), 0);
  long count = 0;
  ASSERT_EQ(rule_.GetSumCount(&count), 0);
  EXPECT_EQ(count, 6);
  ASSERT_EQ(rule_.SetMovePos(0), 0);
  std::vector<int32_t> codes;
  for (const auto& row : ReadAll()) codes.push_back(row.accountCode);
  EXPECT_EQ(codes, (std::vector<int32_t>{1110000, 1310000, 4110000, 1550000, 3350000, 9000000}));
  StKAMOKUSUMINFO row{};
  EXPECT_EQ(rule_.MoveNext(&row), kEndOfRows);  // the end stays the end
  EXPECT_EQ(rule_.MoveFinish(), 0);
}

TEST_F(BalanceCursorTest, SumsLandInTheirSetSideAndEntryWithAllMonthsPresent) {
  ASSERT_EQ(Ready(), 0);
  ASSERT_EQ(rule_.SetMovePos(0), 0);
  std::vector<StKAMOKUSUMINFO> rows = ReadAll();
  ASSERT_EQ(rows.size(), 6u);
  const StKAMOKUSUMINFO& cash = rows[0];
  // The filter starts at month 4, yet entries 0 to 3 are delivered.
  int64_t debit1[kSumEntries] = {15000000000, 10000000};
  int64_t credit1[kSumEntries] = {};
  credit1[12] = 2000000;
  int64_t debit2[kSumEntries] = {};
  debit2[14] = -25000;
  int64_t credit2[kSumEntries] = {};
  credit2[13] = 500000;
  for (int i = 0; i < kSumEntries; ++i) {
    EXPECT_EQ(cash.debit1[i], debit1[i]) << "entry " << i;
    EXPECT_EQ(cash.credit1[i], credit1[i]) << "entry " << i;
    EXPECT_EQ(cash.debit2[i], debit2[i]) << "entry " << i;
    EXPECT_EQ(cash.credit2[i], credit2[i]) << "entry " << i;
  }
  // The sub-account's sums are not a row of their own and do not leak into its parent.
  EXPECT_EQ(rows[2].credit1[1], 10000000);
  EXPECT_EQ(rows[1].debit1[1], 0);
}

TEST_F(BalanceCursorTest, RowFieldsAreByteExact) {
  ASSERT_EQ(Ready(), 0);
  ASSERT_EQ(rule_.SetMovePos(0), 0);
  std::vector<StKAMOKUSUMINFO> rows = ReadAll();
  ASSERT_EQ(rows.size(), 6u);
  const StKAMOKUSUMINFO& cash = rows[0];
  EXPECT_EQ(std::memcmp(cash.officialName,
                        "\x8c\xbb\x8b\xe0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 30),
            0);
  EXPECT_EQ(cash.flagA, 0);
  EXPECT_EQ(cash.flagB, 1);
  EXPECT_EQ(cash.kind, 0);
  EXPECT_EQ(cash.debitNature, 1);
  EXPECT_EQ(static_cast<uint32_t>(cash.accountCharacter), 0x80880800u);
  EXPECT_EQ(std::string(rows[1].secondName, 4), "Bank");
  EXPECT_EQ(rows[1].secondName[4], 0);

  // Names filling all 30 bytes: no terminator, and the 0x5C second bytes kept.
  const StKAMOKUSUMINFO& total = rows[5];
  std::string official(total.officialName, 30), second(total.secondName, 30);
  std::string hyo, so;
  for (int i = 0; i < 15; ++i) hyo += "\x95\x5c", so += "\x83\x5c";
  EXPECT_EQ(official, hyo);
  EXPECT_EQ(second, so);
  EXPECT_EQ(std::memcmp(&total.kind, "\x02", 1), 0);
  EXPECT_EQ(total.flagA, 1);
  EXPECT_EQ(static_cast<uint32_t>(total.accountCharacter), 0x80000000u);
}

TEST_F(BalanceCursorTest, OverlongNameIsCutBeforeASplitCharacter) {
  // 31 bytes: a single byte, then fifteen double-byte characters; the last one cannot fit.
  ClAccConnect::Inst().Terminate();
  std::string hex = "41";
  for (int i = 0; i < 15; ++i) hex += "955c";
  ExecOnStore("UPDATE accounts SET official_name = X'" + hex +
              "' WHERE data_id = 'DEMO01' AND account_code = 1110000;");
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  ASSERT_EQ(Ready(), 0);
  StKAMOKUSUMINFO row{};
  ASSERT_EQ(rule_.MoveNext(&row), 0);
  std::string expected = "A";
  for (int i = 0; i < 14; ++i) expected += "\x95\x5c";
  expected += '\0';
  EXPECT_EQ(std::string(row.officialName, 30), expected);
}

TEST_F(BalanceCursorTest, SetMovePosRepositions) {
  ASSERT_EQ(Ready(), 0);
  ASSERT_EQ(rule_.SetMovePos(4), 0);
  StKAMOKUSUMINFO row{};
  ASSERT_EQ(rule_.MoveNext(&row), 0);
  EXPECT_EQ(row.accountCode, 3350000);
}

TEST_F(BalanceCursorTest, CursorUsedBeforeItIsReadyFails) {
  long count = 0;
  StKAMOKUSUMINFO row{};
  EXPECT_EQ(rule_.GetSumCount(&count), kNotReady);
  EXPECT_EQ(rule_.MoveNext(&row), kNotReady);
}

TEST_F(BalanceCursorTest, DataWithoutRowsEndsAtOnce) {
  rule_.SetCurDataID("NONE");
  ASSERT_EQ(Ready(), 0);
  long count = -1;
  ASSERT_EQ(rule_.GetSumCount(&count), 0);
  EXPECT_EQ(count, 0);
  StKAMOKUSUMINFO row{};
  EXPECT_EQ(rule_.MoveNext(&row), kEndOfRows);
}

TEST_F(BalanceCursorTest, InjectedFaultsFailTheirCallsWithAFatalStatus) {
  ASSERT_EQ(Ready(), 0);
  long count = 0;
  platform::faults::Set("ClRuleKamoku::GetSumCount,ClRuleKamoku::SetMovePos");
  EXPECT_EQ(rule_.GetSumCount(&count), kStoreError);
  EXPECT_EQ(rule_.SetMovePos(0), kStoreError);
  // The third row fails, the rows before it are delivered.
  platform::faults::Set("ClRuleKamoku::MoveNext@4110000");
  StKAMOKUSUMINFO row{};
  EXPECT_EQ(rule_.MoveNext(&row), 0);
  EXPECT_EQ(rule_.MoveNext(&row), 0);
  EXPECT_EQ(rule_.MoveNext(&row), kStoreError);
  EXPECT_TRUE(ClMsgMgr::Inst().CheckFatalErrorWithMsg(kStoreError, 0, 0, 0));
}

}  // namespace
}  // namespace orbeck::test

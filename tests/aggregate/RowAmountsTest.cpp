// The arithmetic of one balance row and the reading of the month filter: carried balances
// against accrued amounts, the period start test, the adjustment periods and the range.
#include "aggregate/RowAmounts.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "aggregate/PeriodSelection.h"
#include "tests/aggregate/MonthFilter.h"

namespace {

constexpr int32_t kCash = static_cast<int32_t>(0x80880800u);
constexpr int32_t kSales = static_cast<int32_t>(0x40888010u);
constexpr int32_t kPayable = static_cast<int32_t>(0x80480010u);

StDATAINFO Profile(int16_t introMonthIndex, int32_t interimClosing) {
  StDATAINFO profile{};
  profile.introMonthIndex = introMonthIndex;
  profile.interimClosing = interimClosing;
  return profile;
}

// Entry i of set 1 gets debit (i + 1) * 10000 * 10000 and credit i * 1000 * 10000; set 2 the
// same plus one yen, so that the set chosen shows in every sum.
StKAMOKUSUMINFO Row(int32_t character, uint8_t debitNature) {
  StKAMOKUSUMINFO row{};
  row.accountCode = 1110000;
  row.accountCharacter = character;
  row.debitNature = debitNature;
  for (int i = 0; i < kSumEntries; ++i) {
    row.debit1[i] = int64_t{i + 1} * 100000000;
    row.credit1[i] = int64_t{i} * 10000000;
    row.debit2[i] = row.debit1[i] + 10000;
    row.credit2[i] = row.credit1[i] + 10000;
  }
  return row;
}

int64_t DebitSum(const StKAMOKUSUMINFO& row, int from, int to) {
  int64_t sum = 0;
  for (int i = from; i <= to; ++i) sum += row.debit1[i];
  return sum;
}

int64_t CreditSum(const StKAMOKUSUMINFO& row, int from, int to) {
  int64_t sum = 0;
  for (int i = from; i <= to; ++i) sum += row.credit1[i];
  return sum;
}

RowAmounts Compute(const StKAMOKUSUMINFO& row, const StFINDINFO& find, const StDATAINFO& profile,
                   int amountBasis = 0) {
  RowAmounts amounts;
  EXPECT_TRUE(ComputeRowAmounts(row, amountBasis, SelectPeriod(find, profile), amounts));
  return amounts;
}

TEST(PeriodSelection, StartTestFollowsTheIntroductionMonth) {
  EXPECT_TRUE(SelectPeriod(MonthFilter(1, 12, false, true), Profile(0, 0)).startsAtBeginning);
  EXPECT_FALSE(SelectPeriod(MonthFilter(4, 9, false, false), Profile(0, 0)).startsAtBeginning);
  EXPECT_TRUE(SelectPeriod(MonthFilter(4, 12, false, true), Profile(4, 0)).startsAtBeginning);
  EXPECT_FALSE(SelectPeriod(MonthFilter(5, 12, false, true), Profile(4, 0)).startsAtBeginning);
  EXPECT_TRUE(SelectPeriod(MonthFilter(11, 12, false, true), Profile(99, 0)).startsAtBeginning);
}

TEST(PeriodSelection, AdjustmentPeriods) {
  const PeriodSelection yearEnd = SelectPeriod(MonthFilter(1, 12, false, true), Profile(0, 0));
  EXPECT_TRUE(yearEnd.closingAdjustment);
  EXPECT_EQ(1, yearEnd.firstIndex);
  EXPECT_EQ(12, yearEnd.lastIndex);
  EXPECT_FALSE(SelectPeriod(MonthFilter(1, 11, false, false), Profile(0, 0)).closingAdjustment);

  EXPECT_TRUE(SelectPeriod(MonthFilter(1, 6, true, false), Profile(0, 1)).interimAdjustment);
  EXPECT_FALSE(SelectPeriod(MonthFilter(1, 7, false, false), Profile(0, 1)).interimAdjustment);
  EXPECT_FALSE(SelectPeriod(MonthFilter(1, 6, false, false), Profile(0, 0)).interimAdjustment);
  // With both chained the year-end condition is fourth, and it still counts.
  const PeriodSelection both = SelectPeriod(MonthFilter(1, 6, true, true), Profile(0, 1));
  EXPECT_TRUE(both.interimAdjustment);
  EXPECT_TRUE(both.closingAdjustment);
}

TEST(RowAmounts, WholeYearTakesOpeningEntryOfIncomeRows) {
  const StKAMOKUSUMINFO sales = Row(kSales, 0);
  const RowAmounts amounts = Compute(sales, MonthFilter(1, 12, false, true), Profile(0, 0));
  const int64_t opening = sales.credit1[0] - sales.debit1[0];
  EXPECT_EQ(opening, amounts.opening.Raw());
  EXPECT_EQ(opening + CreditSum(sales, 1, 13) - DebitSum(sales, 1, 13), amounts.closing.Raw());
}

TEST(RowAmounts, MidYearPeriodCarriesBalancesButNotAccruals) {
  const StFINDINFO find = MonthFilter(4, 9, false, false);
  const StKAMOKUSUMINFO cash = Row(kCash, 1);
  const RowAmounts balance = Compute(cash, find, Profile(0, 0));
  const int64_t opening = DebitSum(cash, 0, 3) - CreditSum(cash, 0, 3);
  EXPECT_EQ(opening, balance.opening.Raw());
  EXPECT_EQ(opening + DebitSum(cash, 4, 9) - CreditSum(cash, 4, 9), balance.closing.Raw());

  const StKAMOKUSUMINFO sales = Row(kSales, 0);
  const RowAmounts accrued = Compute(sales, find, Profile(0, 0));
  EXPECT_EQ(0, accrued.opening.Raw());
  EXPECT_EQ(CreditSum(sales, 4, 9) - DebitSum(sales, 4, 9), accrued.closing.Raw());
}

TEST(RowAmounts, IntroducedDataTakesAmountsBeforeIntroduction) {
  const StKAMOKUSUMINFO sales = Row(kSales, 1);
  const RowAmounts amounts = Compute(sales, MonthFilter(4, 12, false, true), Profile(4, 0));
  EXPECT_EQ(sales.debit1[0] - sales.credit1[0], amounts.opening.Raw());
  EXPECT_EQ(DebitSum(sales, 0, 0) - CreditSum(sales, 0, 0) + DebitSum(sales, 4, 13) - CreditSum(sales, 4, 13),
            amounts.closing.Raw());
}

TEST(RowAmounts, AdjustmentEntriesCountOnlyWhenSelected) {
  const StKAMOKUSUMINFO cash = Row(kCash, 1);
  const int64_t openingEntry = cash.debit1[0] - cash.credit1[0];
  const int64_t months = DebitSum(cash, 1, 6) - CreditSum(cash, 1, 6);
  const int64_t interim = cash.debit1[14] - cash.credit1[14];
  EXPECT_EQ(openingEntry + months + interim,
            Compute(cash, MonthFilter(1, 6, true, false), Profile(0, 1)).closing.Raw());
  EXPECT_EQ(openingEntry + months,
            Compute(cash, MonthFilter(1, 6, false, false), Profile(0, 0)).closing.Raw());
  EXPECT_EQ(openingEntry + months + cash.debit1[7] - cash.credit1[7],
            Compute(cash, MonthFilter(1, 7, false, false), Profile(0, 1)).closing.Raw());
}

TEST(RowAmounts, CreditBalanceAccountWithMoreDebitsGoesNegative) {
  StKAMOKUSUMINFO payable = Row(kPayable, 0);
  const RowAmounts amounts = Compute(payable, MonthFilter(1, 3, false, false), Profile(0, 0));
  EXPECT_LT(amounts.closing.Raw(), 0);
  EXPECT_EQ(CreditSum(payable, 0, 3) - DebitSum(payable, 0, 3), amounts.closing.Raw());
}

TEST(RowAmounts, TaxIncludedBasisReadsTheSecondSet) {
  const StKAMOKUSUMINFO cash = Row(kCash, 1);
  // Set 2 adds one yen to each side of every entry, so the balance is the same: check the
  // sides separately through a row whose credits are all zero.
  StKAMOKUSUMINFO debitsOnly = cash;
  for (int i = 0; i < kSumEntries; ++i) debitsOnly.credit1[i] = debitsOnly.credit2[i] = 0;
  const RowAmounts basis0 = Compute(debitsOnly, MonthFilter(1, 2, false, false), Profile(0, 0), 0);
  const RowAmounts basis1 = Compute(debitsOnly, MonthFilter(1, 2, false, false), Profile(0, 0), 1);
  EXPECT_EQ(basis0.closing.Raw() + 3 * 10000, basis1.closing.Raw());
}

TEST(RowAmounts, EmptyRangeLeavesClosingAtOpening) {
  const StKAMOKUSUMINFO cash = Row(kCash, 1);
  const RowAmounts amounts = Compute(cash, MonthFilter(5, 4, false, false), Profile(0, 0));
  EXPECT_EQ(amounts.opening.Raw(), amounts.closing.Raw());
}

TEST(RowAmounts, OutOfRangeSumsFail) {
  StKAMOKUSUMINFO cash = Row(kCash, 1);
  cash.debit1[0] = 600000000000000000LL;  // 6 * 10^13 yen
  cash.debit1[1] = 500000000000000000LL;
  RowAmounts amounts;
  EXPECT_FALSE(
      ComputeRowAmounts(cash, 0, SelectPeriod(MonthFilter(1, 1, false, false), Profile(0, 0)), amounts));

  cash.debit1[1] = 0;
  cash.credit1[0] = -600000000000000000LL;  // a negative credit drives the balance the same way
  EXPECT_FALSE(
      ComputeRowAmounts(cash, 0, SelectPeriod(MonthFilter(1, 1, false, false), Profile(0, 0)), amounts));
}

}  // namespace

// Balance aggregation over a loaded store: the period cases, the adjustment periods, the
// carry-over into the 差引損益 row, kept and dropped row kinds, progress positions and the
// failures that must fail the aggregation.
#include "aggregate/StatementAggregator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/Faults.h"
#include "runstate/ProgressWindow.h"
#include "tests/aggregate/EngineHost.h"
#include "tests/aggregate/HostDocument.h"

namespace {

// The company of these tests: fiscal year April 2024 to March 2025.
//   April 15   cash 110000 / sales 100000 + tax 10000
//   July 10    supplies 20000 + tax 2000 / cash 22000
//   September 30 (interim adjustment)  supplies 700 / cash 700
//   October 5  cash 50000 / sales 50000
//   November 20  payable 5000 / cash 5000
//   March 31 (year-end adjustment)  supplies 3000 / cash 3000
nlohmann::json Company(int16_t introMonthIndex = 0, int interimClosing = 0,
                       const char* salesOpening = nullptr) {
  nlohmann::json document = BaseDocument();
  nlohmann::json& data = DataOf(document);
  data["introMonthIndex"] = introMonthIndex;
  data["interimClosing"] = interimClosing;
  data["accounts"] = {
      Account(1000000, "資産の部", 1, 1, 0x80800000u),
      Account(1110000, "現金", 0, 1, 0x80880800u, "1000000"),
      Account(1350000, "仮払消費税", 0, 1, 0x80880810u),
      Account(2110000, "仮受消費税", 0, 0, 0x80484010u),
      Account(2120000, "未払金", 0, 0, 0x80480010u),
      Account(3230000, "繰越利益剰余金", 0, 0, 0x80202010u, "500000"),
      Account(4110000, "売上高", 0, 0, 0x40888010u, salesOpening),
      Account(5410000, "消耗品費", 0, 1, 0x40882010u),
      Account(9100000, "当期純利益", 2, 0, 0x40200020u),
  };
  data["accounts"][8]["members"] = {4110000, 5410000};
  data["accounts"][8]["secondName"] = "当期純利益金額";
  data["journals"] = {
      Journal(1, 20240415, {Line(1110000, "110000", 4110000, "100000", 0, "0", "10000")}),
      Journal(2, 20240710, {Line(5410000, "20000", 1110000, "22000", 0, "2000", "0")}),
      Journal(3, 20240930, {Line(5410000, "700", 1110000, "700")}, 14),
      Journal(4, 20241005, {Line(1110000, "50000", 4110000, "50000")}),
      Journal(5, 20241120, {Line(2120000, "5000", 1110000, "5000")}),
      Journal(6, 20250331, {Line(5410000, "3000", 1110000, "3000")}, 13),
  };
  return document;
}

class AggregateTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::faults::Clear(); }
  void TearDown() override { platform::faults::Clear(); }

  // Runs one aggregation; the aggregator is rebuilt per call.
  int Run(const nlohmann::json& document, const StFINDINFO& find, int amountBasis = 0, int withLedger = 0) {
    host_.reset();
    host_ = std::make_unique<EngineHost>(document);
    EXPECT_TRUE(host_->ok()) << host_->error();
    lines_.clear();
    ledger_.clear();
    failure_ = ReadFailure();
    aggregator_ = std::make_unique<StatementAggregator>(lines_, ledger_, withLedger != 0, nullptr, failure_);
    return aggregator_->Aggregate(amountBasis, find, host_->Profile());
  }

  const StatementLine* Find(int32_t code) const {
    for (const StatementLine& line : lines_) {
      if (line.accountCode == code) return &line;
    }
    ADD_FAILURE() << "no line for " << code;
    static const StatementLine none{};
    return &none;
  }

  std::unique_ptr<EngineHost> host_;
  StatementLineList lines_;
  LedgerLineList ledger_;
  ReadFailure failure_;
  std::unique_ptr<StatementAggregator> aggregator_;
};

TEST_F(AggregateTest, WholeYearWithYearEndAdjustment) {
  ASSERT_EQ(1, Run(Company(), MonthFilter(1, 12, false, true)));
  // The heading (kind 1) is not stored; the order is the cursor's.
  ASSERT_EQ(8u, lines_.size());
  const int32_t order[] = {1110000, 1350000, 2110000, 2120000, 3230000, 4110000, 5410000, 9100000};
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(order[i], lines_[i].accountCode) << i;

  const StatementLine* cash = Find(1110000);
  EXPECT_EQ(Yen(1000000), cash->openingAmount);
  EXPECT_EQ(Yen(1130000), cash->closingAmount) << "interim adjustment left out without interim closing";
  EXPECT_EQ(Yen(130000), cash->periodAmount);
  EXPECT_EQ(Cp932("現金"), cash->officialName);
  EXPECT_EQ(static_cast<int32_t>(0x80880800u), cash->accountCharacter);
  EXPECT_EQ(0, cash->rowKind);

  EXPECT_EQ(Yen(150000), Find(4110000)->closingAmount);
  EXPECT_EQ(Yen(23000), Find(5410000)->closingAmount);
  EXPECT_EQ(Yen(10000), Find(2110000)->closingAmount);
  EXPECT_EQ(Yen(2000), Find(1350000)->closingAmount);

  const StatementLine* result = Find(9100000);
  EXPECT_EQ(Yen(127000), result->closingAmount) << "no carry-over when the period starts at the beginning";
  EXPECT_EQ(2, result->rowKind) << "kind 2 rows are stored";
  EXPECT_EQ(Cp932("当期純利益金額"), result->altName);
}

TEST_F(AggregateTest, MidYearPeriodCarriesNetAssetsIntoTheResultRow) {
  ASSERT_EQ(1, Run(Company(), MonthFilter(4, 9, false, false)));
  const StatementLine* cash = Find(1110000);
  EXPECT_EQ(Yen(1110000), cash->openingAmount) << "opening entry plus months 1 to 3";
  EXPECT_EQ(Yen(1133000), cash->closingAmount);
  EXPECT_EQ(Yen(23000), cash->periodAmount);

  const StatementLine* sales = Find(4110000);
  EXPECT_EQ(0, sales->openingAmount);
  EXPECT_EQ(Yen(50000), sales->closingAmount);

  const StatementLine* result = Find(9100000);
  EXPECT_EQ(0, result->openingAmount);
  EXPECT_EQ(Yen(30000), result->periodAmount) << "the carry-over changes the closing amount only";
  EXPECT_EQ(Yen(530000), result->closingAmount);
  EXPECT_EQ(Yen(500000), Find(3230000)->closingAmount);
}

TEST_F(AggregateTest, DataIntroducedInMonthFourTakesItsOpeningEntry) {
  ASSERT_EQ(1, Run(Company(4, 0, "80000"), MonthFilter(4, 12, false, true)));
  const StatementLine* sales = Find(4110000);
  EXPECT_EQ(Yen(80000), sales->openingAmount);
  EXPECT_EQ(Yen(130000), sales->closingAmount);
  EXPECT_EQ(Yen(80000 + 50000 - 20000 - 3000), Find(9100000)->closingAmount) << "no carry-over";
}

TEST_F(AggregateTest, PastResultsDataAlwaysStartsAtTheBeginning) {
  ASSERT_EQ(1, Run(Company(99, 0, "80000"), MonthFilter(4, 9, false, false)));
  EXPECT_EQ(Yen(80000), Find(4110000)->openingAmount);
  EXPECT_EQ(Yen(80000 + 50000 - 20000), Find(9100000)->closingAmount) << "no carry-over";
}

TEST_F(AggregateTest, InterimAdjustmentOnlyWhenTheRangeEndsAtTheSixthMonth) {
  ASSERT_EQ(1, Run(Company(0, 1), MonthFilter(1, 6, true, false)));
  EXPECT_EQ(Yen(20700), Find(5410000)->closingAmount);
  EXPECT_EQ(Yen(1087300), Find(1110000)->closingAmount);

  ASSERT_EQ(1, Run(Company(0, 1), MonthFilter(1, 7, false, false)));
  EXPECT_EQ(Yen(20000), Find(5410000)->closingAmount);
  EXPECT_EQ(Yen(1138000), Find(1110000)->closingAmount);
}

TEST_F(AggregateTest, YearEndAdjustmentOnlyWithItsCondition) {
  ASSERT_EQ(1, Run(Company(), MonthFilter(1, 12, false, false)));
  EXPECT_EQ(Yen(20000), Find(5410000)->closingAmount);
}

TEST_F(AggregateTest, CreditBalanceAccountWithMoreDebitsIsNegative) {
  ASSERT_EQ(1, Run(Company(), MonthFilter(1, 12, false, true)));
  EXPECT_EQ(Yen(-5000), Find(2120000)->closingAmount);
}

TEST_F(AggregateTest, TaxIncludedBasis) {
  ASSERT_EQ(1, Run(Company(), MonthFilter(1, 12, false, true), 1));
  EXPECT_EQ(Yen(160000), Find(4110000)->closingAmount);
  EXPECT_EQ(Yen(25000), Find(5410000)->closingAmount);
  EXPECT_EQ(0, Find(2110000)->closingAmount);
}

TEST_F(AggregateTest, FullWidthNameKeepsItsThirtyBytes) {
  nlohmann::json document = Company();
  DataOf(document)["accounts"][1]["name"] = "あいうえおかきくけこさしすせそ";
  ASSERT_EQ(1, Run(document, MonthFilter(1, 12, false, true)));
  const StatementLine* cash = Find(1110000);
  EXPECT_EQ(30u, strnlen(cash->officialName, sizeof cash->officialName));
  EXPECT_EQ(Cp932("あいうえおかきくけこさしすせそ"), cash->officialName);
  EXPECT_EQ("", std::string(cash->altName));
}

TEST_F(AggregateTest, CursorErrorKeepsEarlierLinesAndFails) {
  platform::faults::Set("ClRuleKamoku::MoveNext@4110000");
  EXPECT_EQ(0, Run(Company(), MonthFilter(4, 9, false, false)));
  ASSERT_EQ(5u, lines_.size());
  EXPECT_EQ(3230000, lines_.back().accountCode);
}

TEST_F(AggregateTest, CountOrPositionErrorsFailBeforeAnyRow) {
  platform::faults::Set("ClRuleKamoku::GetSumCount");
  EXPECT_EQ(0, Run(Company(), MonthFilter(1, 12, false, true)));
  EXPECT_TRUE(lines_.empty());
  platform::faults::Set("ClRuleKamoku::SetMovePos");
  EXPECT_EQ(0, Run(Company(), MonthFilter(1, 12, false, true)));
  EXPECT_TRUE(lines_.empty());
}

TEST_F(AggregateTest, AmountsOfTenToTheFourteenYenFail) {
  nlohmann::json document = Company();
  nlohmann::json sums = {{"debit", nlohmann::json::array()}, {"credit", nlohmann::json::array()}};
  for (int i = 0; i < 15; ++i) {
    sums["debit"].push_back(i == 0 ? "60000000000000" : i == 1 ? "50000000000000" : "0");
    sums["credit"].push_back("0");
  }
  DataOf(document)["accounts"][2]["sums"] = {{"set1", sums}, {"set2", sums}};
  EXPECT_EQ(0, Run(document, MonthFilter(1, 12, false, true)));
  EXPECT_EQ(1u, lines_.size()) << "only the cash line before the overflowing row";
}

TEST_F(AggregateTest, CarryOverBeyondTheRangeFailsAfterAllRows) {
  nlohmann::json document = Company();
  nlohmann::json& data = DataOf(document);
  data["accounts"][5]["opening"] = "60000000000000";
  data["journals"].push_back(
      Journal(7, 20240801, {Line(1110000, "50000000000000", 4110000, "50000000000000")}));
  EXPECT_EQ(0, Run(document, MonthFilter(4, 9, false, false)));
  ASSERT_EQ(8u, lines_.size()) << "every row was read before the carry-over";
  EXPECT_EQ(Yen(50000000000000 + 50000 - 20000), lines_.back().closingAmount)
      << "left without the carry-over";

  // The same amounts over the whole year need no carry-over and pass.
  EXPECT_EQ(1, Run(document, MonthFilter(1, 12, false, true)));
}

class AggregateProgressTest : public AggregateTest {
 protected:
  void SetUp() override {
    AggregateTest::SetUp();
    window_.Create();
    window_.InitMainBar();
  }

  int RunWithProgress(const nlohmann::json& document, int withLedger) {
    host_.reset();
    host_ = std::make_unique<EngineHost>(document);
    EXPECT_TRUE(host_->ok()) << host_->error();
    failure_ = ReadFailure();
    aggregator_ = std::make_unique<StatementAggregator>(lines_, ledger_, withLedger != 0, &window_, failure_);
    return aggregator_->Aggregate(0, MonthFilter(1, 12, false, true), host_->Profile());
  }

  ProgressWindow window_;
};

nlohmann::json ThreeRows() {
  nlohmann::json document = BaseDocument();
  DataOf(document)["accounts"] = {
      Account(1110000, "現金", 0, 1, 0x80880800u, "1000"),
      Account(4110000, "売上高", 0, 0, 0x40888010u),
      Account(5410000, "消耗品費", 0, 1, 0x40882010u),
  };
  return document;
}

TEST_F(AggregateProgressTest, ThreeRowsWithGeneralLedger) {
  ASSERT_EQ(1, RunWithProgress(ThreeRows(), 1));
  // 400 -> 2733 -> 5066 -> 7399 in steps of 7000 / 3, then 1000 more.
  EXPECT_DOUBLE_EQ(8399.0, aggregator_->ProgressPos());
  // Inclusive ranges 0-100, 100-300, 300-400, 400-2733, 2733-5066, 5066-7399, 7399-8399.
  EXPECT_EQ(101 + 201 + 101 + 3 * 2334 + 1001, window_.MainPos());
}

TEST_F(AggregateProgressTest, HeadingRowsStillTakeTheirLedgerStep) {
  nlohmann::json document = ThreeRows();
  DataOf(document)["accounts"].insert(DataOf(document)["accounts"].begin(),
                                      Account(1000000, "資産の部", 1, 1, 0x80800000u));
  ASSERT_EQ(1, RunWithProgress(document, 1));
  EXPECT_EQ(3u, lines_.size());
  // Four rows of 7000 / 4: 400 -> 7400, then 1000 more.
  EXPECT_DOUBLE_EQ(8400.0, aggregator_->ProgressPos());
}

TEST_F(AggregateProgressTest, LedgerStepsStopAtSevenThousand) {
  nlohmann::json document = BaseDocument();
  for (int32_t i = 0; i < 20; ++i) {
    DataOf(document)["accounts"].push_back(
        Account(1110000 + i * 10000, "預金" + std::to_string(i), 0, 1, 0x80880800u, "1000"));
  }
  ASSERT_EQ(1, RunWithProgress(document, 1));
  // Steps of 350: the nineteenth row reaches 7050, so the twentieth does not step.
  EXPECT_DOUBLE_EQ(8050.0, aggregator_->ProgressPos());
  EXPECT_EQ(101 + 201 + 101 + 19 * 351 + 1001, window_.MainPos());
}

TEST_F(AggregateProgressTest, NoRows) {
  ASSERT_EQ(1, RunWithProgress(BaseDocument(), 0));
  EXPECT_DOUBLE_EQ(5000.0, aggregator_->ProgressPos());
  EXPECT_EQ(1001 + 2001 + 1001 + 1001, window_.MainPos());
  EXPECT_TRUE(lines_.empty());

  ASSERT_EQ(1, RunWithProgress(BaseDocument(), 1));
  EXPECT_DOUBLE_EQ(1400.0, aggregator_->ProgressPos());
}

TEST_F(AggregateProgressTest, WithoutGeneralLedgerRowsDoNotMoveTheBar) {
  ASSERT_EQ(1, RunWithProgress(ThreeRows(), 0));
  EXPECT_DOUBLE_EQ(5000.0, aggregator_->ProgressPos());
  EXPECT_EQ(3u, lines_.size());
}

}  // namespace

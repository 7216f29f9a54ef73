// The ledger pass over a loaded store: movements and running balances, the sundry (諸口)
// choice, the consumption-tax accounts under both amount bases, dropped postings, names,
// and failures that fail the aggregation; and, over the demo company, that every ledger
// ends at its statement line's closing balance.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "aggregate/StatementAggregator.h"
#include "platform/Faults.h"
#include "tests/aggregate/EngineHost.h"
#include "tests/aggregate/HostDocument.h"

namespace {

constexpr int32_t kCash = 1110000;
constexpr int32_t kPettyCash = 1110003;
constexpr int32_t kPaidTax = 1350000;
constexpr int32_t kSales = 4110000;
constexpr int32_t kSupplies = 5410000;
constexpr int32_t kSuspense = 9900000;

nlohmann::json Ledgers(nlohmann::json journals, const char* amountBasis = "0") {
  nlohmann::json document = BaseDocument();
  nlohmann::json& data = DataOf(document);
  data["tax"] = {{"method", 0}, {"amountBasis", std::atoi(amountBasis)}};
  data["accounts"] = {
      Account(kCash, "現金", 0, 1, 0x80880800u, "1000000"),
      Account(kPettyCash, "小口現金", 0, 1, 0x80880800u),
      Account(kPaidTax, "仮払消費税", 0, 1, 0x80880810u),
      Account(kSales, "売上高", 0, 0, 0x40888010u),
      Account(kSupplies, "消耗品費", 0, 1, 0x40882010u),
      Account(kSuspense, "対象外勘定", 0, 1, 0x08000000u),
  };
  data["accounts"][1]["balanceRow"] = false;
  data["journals"] = velmora::test::AsList(std::move(journals));
  return document;
}

class LedgerTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::faults::Clear(); }
  void TearDown() override { platform::faults::Clear(); }

  int Run(const nlohmann::json& document, int amountBasis = 0) {
    host_.reset();
    host_ = std::make_unique<EngineHost>(document);
    EXPECT_TRUE(host_->ok()) << host_->error();
    failure_ = ReadFailure();
    aggregator_ = std::make_unique<StatementAggregator>(lines_, ledger_, true, nullptr, failure_);
    return aggregator_->Aggregate(amountBasis, MonthFilter(1, 12, false, true), host_->Profile());
  }

  std::vector<LedgerLine> Of(int32_t code) const {
    std::vector<LedgerLine> found;
    for (const LedgerLine& line : ledger_) {
      if (line.accountCode == code) found.push_back(line);
    }
    return found;
  }

  std::unique_ptr<EngineHost> host_;
  StatementLineList lines_;
  LedgerLineList ledger_;
  ReadFailure failure_;
  std::unique_ptr<StatementAggregator> aggregator_;
};

TEST_F(LedgerTest, CreditPostingLowersADebitBalance) {
  ASSERT_EQ(1, Run(Ledgers({
                   Journal(1, 20240415, {Line(kCash, "110000", kSales, "110000", 0, "0", "0", "売上入金")}),
                   Journal(2, 20240710, {Line(kSupplies, "22000", kCash, "22000", 0, "0", "0", "事務用品")}),
               })));
  const std::vector<LedgerLine> cash = Of(kCash);
  ASSERT_EQ(2u, cash.size());
  EXPECT_EQ(Yen(110000), cash[0].amount);
  EXPECT_EQ(Yen(1110000), cash[0].balance) << "the running balance starts at the opening";
  EXPECT_EQ(Cp932("令和6年4月15日"), cash[0].dateText.View());
  EXPECT_EQ(Cp932("売上高"), cash[0].counterAccountName.View());
  EXPECT_EQ(Cp932("売上入金"), cash[0].description.View());
  EXPECT_EQ(1, cash[0].lineNo);
  EXPECT_EQ("", std::string(cash[0].subAccountName.View()));
  EXPECT_EQ(Yen(-22000), cash[1].amount);
  EXPECT_EQ(Yen(1088000), cash[1].balance);
  EXPECT_EQ(Cp932("消耗品費"), cash[1].counterAccountName.View());

  // Grouped by account in cursor order: cash, then sales, then supplies.
  ASSERT_EQ(4u, ledger_.size());
  EXPECT_EQ(kSales, ledger_[2].accountCode);
  EXPECT_EQ(Yen(110000), ledger_[2].amount) << "a credit on a credit-balance account raises it";
  EXPECT_EQ(Cp932("現金"), ledger_[2].counterAccountName.View());
}

TEST_F(LedgerTest, AccountWithoutPostingsAppendsNothing) {
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240415, {Line(kCash, "1000", kSales, "1000")})})));
  EXPECT_TRUE(Of(kSupplies).empty());
  EXPECT_EQ(2u, ledger_.size());
}

TEST_F(LedgerTest, CompoundLineWithUnequalTotalsIsSundry) {
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240415, {Line(kCash, "1000", kSales, "900", 34)})})));
  const std::vector<LedgerLine> cash = Of(kCash);
  ASSERT_EQ(1u, cash.size());
  EXPECT_EQ(Cp932("諸口"), cash[0].counterAccountName.View());
  EXPECT_EQ("", std::string(cash[0].counterSubAccountName.View()));
}

TEST_F(LedgerTest, CompoundLineThreeDependsOnTheLinesBeforeIt) {
  // Lines 1 and 2 balance (1000 against 1000); line 3 balances itself.
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240415,
                                    {Line(kSupplies, "1000", 0, "0"), Line(0, "0", kCash, "1000"),
                                     Line(kSupplies, "500", kCash, "500", 34)})})));
  std::vector<LedgerLine> cash = Of(kCash);
  ASSERT_EQ(2u, cash.size());
  EXPECT_EQ(3, cash[1].lineNo);
  EXPECT_EQ(Cp932("消耗品費"), cash[1].counterAccountName.View());

  ledger_.clear();
  lines_.clear();
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240415,
                                    {Line(kSupplies, "1000", 0, "0"), Line(0, "0", kCash, "900"),
                                     Line(kSupplies, "500", kCash, "500", 34)})})));
  cash = Of(kCash);
  ASSERT_EQ(2u, cash.size());
  EXPECT_EQ(Cp932("諸口"), cash[1].counterAccountName.View());
}

TEST_F(LedgerTest, AnUnreadableJournalLineFailsThePassRatherThanCountingAsZeros) {
  // Lines 1 and 2 balance; were line 2 taken as zeros, the third line would turn sundry.
  platform::faults::Set("ClRuleShiwake::MoveNext#2");
  EXPECT_EQ(0, Run(Ledgers({Journal(1, 20240415,
                                    {Line(kSupplies, "1000", 0, "0"), Line(0, "0", kCash, "1000"),
                                     Line(kSupplies, "500", kCash, "500", 34)})})));
}

TEST_F(LedgerTest, SundryKindsDependOnTheSide) {
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240415, {Line(kSupplies, "100", kCash, "100", 33)}),
                            Journal(2, 20240416, {Line(kCash, "200", kSales, "200", 18)}),
                            Journal(3, 20240417, {Line(kCash, "300", kSales, "300", 33)})})));
  const std::vector<LedgerLine> cash = Of(kCash);
  ASSERT_EQ(3u, cash.size());
  EXPECT_EQ(Cp932("諸口"), cash[0].counterAccountName.View()) << "33 on the credit side";
  EXPECT_EQ(Cp932("諸口"), cash[1].counterAccountName.View()) << "18 on the debit side";
  EXPECT_EQ(Cp932("売上高"), cash[2].counterAccountName.View()) << "33 on the debit side";
}

TEST_F(LedgerTest, PaidTaxLedgerCountsOtherAccountsTaxUnderTheExcludedBasis) {
  const nlohmann::json journals = {
      Journal(1, 20240710, {Line(kSupplies, "20000", kCash, "22000", 0, "2000", "0")})};
  ASSERT_EQ(1, Run(Ledgers(journals)));
  std::vector<LedgerLine> tax = Of(kPaidTax);
  ASSERT_EQ(1u, tax.size());
  EXPECT_EQ(Yen(2000), tax[0].amount);
  EXPECT_EQ(Yen(2000), tax[0].balance);

  ledger_.clear();
  lines_.clear();
  ASSERT_EQ(1, Run(Ledgers(journals, "1"), 1));
  EXPECT_TRUE(Of(kPaidTax).empty()) << "tax-included basis drops other accounts' postings";
  ASSERT_EQ(1u, Of(kSupplies).size());
  EXPECT_EQ(Yen(22000), Of(kSupplies)[0].amount);
}

TEST_F(LedgerTest, PostingAgainstAnExcludedAccountIsDropped) {
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240415, {Line(kSuspense, "400", kCash, "400")}),
                            Journal(2, 20240416, {Line(kCash, "100", kSales, "100")})})));
  const std::vector<LedgerLine> cash = Of(kCash);
  ASSERT_EQ(1u, cash.size());
  EXPECT_EQ(Yen(1000100), cash[0].balance) << "the dropped posting does not move the balance";
  EXPECT_TRUE(Of(kSuspense).empty()) << "no ledger for an excluded account";
}

TEST_F(LedgerTest, SubAccountPostingShowsItsName) {
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240501, {Line(kPettyCash, "1000", kSales, "1000")}),
                            Journal(2, 20240502, {Line(kSupplies, "300", kPettyCash, "300")})})));
  const std::vector<LedgerLine> cash = Of(kCash);
  ASSERT_EQ(2u, cash.size());
  EXPECT_EQ(Cp932("小口現金"), cash[0].subAccountName.View());
  const std::vector<LedgerLine> supplies = Of(kSupplies);
  ASSERT_EQ(1u, supplies.size());
  EXPECT_EQ(Cp932("現金"), supplies[0].counterAccountName.View()) << "the counter account by its number";
  EXPECT_EQ(Cp932("小口現金"), supplies[0].counterSubAccountName.View());
}

TEST_F(LedgerTest, ZeroMovementIsNeverStored) {
  ASSERT_EQ(1, Run(Ledgers({Journal(1, 20240415, {Line(kCash, "500", kCash, "500")}),
                            Journal(2, 20240416, {Line(kCash, "100", kSales, "100")})})));
  const std::vector<LedgerLine> cash = Of(kCash);
  ASSERT_EQ(1u, cash.size());
  EXPECT_EQ(Cp932("令和6年4月16日"), cash[0].dateText.View());
}

TEST_F(LedgerTest, FlaggedAndExcludedRowsHaveNoLedger) {
  nlohmann::json document = Ledgers({Journal(1, 20240415, {Line(kCash, "100", kSales, "100")}),
                                     Journal(2, 20240416, {Line(kSupplies, "200", kCash, "200")})});
  nlohmann::json& accounts = DataOf(document)["accounts"];
  accounts[4]["flags"] = {0, 1};           // supplies: the second flag byte set
  accounts[0]["character"] = 0x08000080u;  // cash: the second code of excluded accounts
  ASSERT_EQ(1, Run(document));
  EXPECT_TRUE(Of(kCash).empty());
  EXPECT_TRUE(Of(kSupplies).empty());
  EXPECT_TRUE(Of(kSales).empty()) << "its one posting has the excluded cash as counter account";

  accounts[0]["character"] = 0x80880800u;
  accounts[4]["flags"] = {1, 0};
  ledger_.clear();
  lines_.clear();
  ASSERT_EQ(1, Run(document));
  EXPECT_EQ(2u, Of(kCash).size());
  EXPECT_EQ(1u, Of(kSales).size());
  EXPECT_TRUE(Of(kSupplies).empty()) << "the first flag byte set";
}

TEST_F(LedgerTest, FailedLedgerPassFailsTheAggregation) {
  platform::faults::Set("ClRuleMotocho::MoveNext@" + std::to_string(kSales));
  EXPECT_EQ(0, Run(Ledgers({Journal(1, 20240415, {Line(kCash, "1000", kSales, "1000")})})));
  EXPECT_EQ(1u, Of(kCash).size()) << "lines of earlier accounts stay";
  EXPECT_TRUE(Of(kSales).empty());
}

TEST_F(LedgerTest, CountErrorFailsTheAggregation) {
  platform::faults::Set("ClRuleMotocho::GetCount");
  EXPECT_EQ(0, Run(Ledgers({Journal(1, 20240415, {Line(kCash, "1000", kSales, "1000")})})));
  EXPECT_TRUE(ledger_.empty());
}

TEST(DemoCompanyLedger, EveryLedgerEndsAtItsStatementClosing) {
  const nlohmann::json demo = velmora::test::TestHost::LoadDemoCompany();
  ASSERT_FALSE(demo.is_null());
  EngineHost host(demo);
  ASSERT_TRUE(host.ok()) << host.error();
  StatementLineList lines;
  LedgerLineList ledger;
  ReadFailure failure;
  StatementAggregator aggregator(lines, ledger, true, nullptr, failure);
  ASSERT_EQ(1, aggregator.Aggregate(0, MonthFilter(1, 12, false, true), host.Profile()));

  std::map<int32_t, int64_t> lastBalance;
  for (const LedgerLine& line : ledger) lastBalance[line.accountCode] = line.balance;
  ASSERT_FALSE(lastBalance.empty());
  for (const StatementLine& line : lines) {
    if (line.rowKind != 0) continue;
    const auto found = lastBalance.find(line.accountCode);
    const int64_t expected = found == lastBalance.end() ? line.openingAmount : found->second;
    EXPECT_EQ(line.closingAmount, expected) << line.accountCode;
  }
}

}  // namespace

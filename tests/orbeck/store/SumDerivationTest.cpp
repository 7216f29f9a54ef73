// Balance sums the loader derives, checked against amounts computed by hand and read back
// from the store with plain SQL.
#include <gtest/gtest.h>

#include "tests/orbeck/store/StoreQuery.h"
#include "tests/support/TestHost.h"

namespace {

using nlohmann::json;
using orbeck::store::test::StoreQuery;
using velmora::test::TestHost;

constexpr int64_t kYen = 10000;

json Acc(int code, const char* name, int kind, int debitNature, const char* character) {
  return json{
      {"code", code}, {"name", name}, {"kind", kind}, {"debitNature", debitNature}, {"character", character}};
}

json Line(int debit, const char* debitAmount, int credit, const char* creditAmount) {
  return json{
      {"debit", debit}, {"debitAmount", debitAmount}, {"credit", credit}, {"creditAmount", creditAmount}};
}

json Journal(int id, int date, json lines, int adjustment = 0) {
  return json{{"id", id},
              {"date", date},
              {"adjustment", adjustment},
              {"lines", velmora::test::AsList(std::move(lines))}};
}

// MinimalCompany with its accounts and journals replaced.
json Company(json accounts, json journals) {
  json doc = TestHost::MinimalCompany();
  doc["data"][0]["accounts"] = std::move(accounts);
  doc["data"][0]["journals"] = velmora::test::AsList(std::move(journals));
  return doc;
}

TEST(SumDerivation, OpeningGoesToEntryZeroOnTheSideThatKeepsItsDirection) {
  json cash = Acc(1110000, "現金", 0, 1, "0x80880800");
  cash["opening"] = "1000";
  json overdrawn = Acc(1120000, "当座預金", 0, 1, "0x80880800");
  overdrawn["opening"] = "-300.5";
  json payable = Acc(3110000, "買掛金", 0, 0, "0x80480100");
  payable["opening"] = "700";
  json negativeCredit = Acc(3120000, "未払金", 0, 0, "0x80480100");
  negativeCredit["opening"] = "-25";
  TestHost host(Company({cash, overdrawn, payable, negativeCredit}, json::array()));
  StoreQuery q(host.storePath());
  for (int set : {1, 2}) {
    EXPECT_EQ(1000 * kYen, q.Sum("D1", 1110000, set, 'D', 0));
    EXPECT_EQ(0, q.Sum("D1", 1110000, set, 'C', 0));
    EXPECT_EQ(0, q.Sum("D1", 1120000, set, 'D', 0));
    EXPECT_EQ(3005000, q.Sum("D1", 1120000, set, 'C', 0));  // debit - credit = -300.5 yen
    EXPECT_EQ(700 * kYen, q.Sum("D1", 3110000, set, 'C', 0));
    EXPECT_EQ(-25 * kYen, q.Sum("D1", 3120000, set, 'C', 0));
    EXPECT_EQ(0, q.Sum("D1", 3120000, set, 'D', 0));
  }
  EXPECT_EQ(8, q.Int("SELECT COUNT(*) FROM sums"));
}

TEST(SumDerivation, JournalLinesGoToTheirFiscalMonthOrAdjustmentEntry) {
  json journals = {Journal(1, 20240401, {Line(1110000, "1", 8110000, "1")}),
                   Journal(2, 20240430, {Line(1110000, "2", 8110000, "2")}),
                   Journal(3, 20241231, {Line(1110000, "4", 8110000, "4")}),
                   Journal(4, 20250101, {Line(1110000, "8", 8110000, "8")}),
                   Journal(5, 20250331, {Line(1110000, "16", 8110000, "16")}),
                   Journal(6, 20250331, {Line(1110000, "32", 8110000, "32")}, 13),
                   Journal(7, 20240930, {Line(1110000, "64", 8110000, "64")}, 14)};
  TestHost host(Company(
      {Acc(1110000, "現金", 0, 1, "0x80880800"), Acc(8110000, "売上高", 0, 0, "0x40888100")}, journals));
  StoreQuery q(host.storePath());
  const std::pair<int, int64_t> expected[] = {{1, 3}, {9, 4}, {10, 8}, {12, 16}, {13, 32}, {14, 64}};
  for (auto [entry, yen] : expected) {
    EXPECT_EQ(yen * kYen, q.Sum("D1", 1110000, 1, 'D', entry)) << "entry " << entry;
    EXPECT_EQ(yen * kYen, q.Sum("D1", 8110000, 2, 'C', entry)) << "entry " << entry;
  }
  EXPECT_EQ(127 * kYen,
            q.Int("SELECT SUM(amount) FROM sums WHERE account_code = 1110000 AND amount_set = 1"));
}

TEST(SumDerivation, AClosingDayBeforeMonthEndMovesLaterDatesIntoTheNextMonth) {
  json doc = Company({Acc(1110000, "現金", 0, 1, "0x80880800"), Acc(8110000, "売上高", 0, 0, "0x40888100")},
                     {Journal(1, 20240321, {Line(1110000, "1", 8110000, "1")}),
                      Journal(2, 20240420, {Line(1110000, "2", 8110000, "2")}),
                      Journal(3, 20240421, {Line(1110000, "4", 8110000, "4")}),
                      Journal(4, 20250320, {Line(1110000, "8", 8110000, "8")})});
  doc["data"][0]["periodStart"] = 20240321;
  doc["data"][0]["periodEnd"] = 20250320;
  doc["data"][0]["closingDay"] = 20;
  TestHost host(doc);
  StoreQuery q(host.storePath());
  EXPECT_EQ(3 * kYen, q.Sum("D1", 1110000, 1, 'D', 1));
  EXPECT_EQ(4 * kYen, q.Sum("D1", 1110000, 1, 'D', 2));
  EXPECT_EQ(8 * kYen, q.Sum("D1", 1110000, 1, 'D', 12));
}

TEST(SumDerivation, TaxCountsForTheTaxAccountsWithoutTaxAndForTheAccountWithTax) {
  json purchase = {{"debit", 5110000},
                   {"debitAmount", "1000"},
                   {"debitTax", "100"},
                   {"credit", 1110000},
                   {"creditAmount", "1100"}};
  json sale = {{"debit", 1110000},
               {"debitAmount", "2200"},
               {"credit", 8110000},
               {"creditAmount", "2000"},
               {"creditTax", "200"}};
  json accounts = {Acc(1110000, "現金", 0, 1, "0x80880800"), Acc(1500000, "仮払消費税", 0, 1, "0x80880810"),
                   Acc(3500000, "仮受消費税", 0, 0, "0x80484010"), Acc(5110000, "仕入高", 0, 1, "0x40884100"),
                   Acc(8110000, "売上高", 0, 0, "0x40888100")};
  TestHost host(Company(accounts, {Journal(1, 20240510, {purchase, sale})}));
  StoreQuery q(host.storePath());
  EXPECT_EQ(1000 * kYen, q.Sum("D1", 5110000, 1, 'D', 2));
  EXPECT_EQ(1100 * kYen, q.Sum("D1", 5110000, 2, 'D', 2));
  EXPECT_EQ(100 * kYen, q.Sum("D1", 1500000, 1, 'D', 2));
  EXPECT_EQ(0, q.Sum("D1", 1500000, 2, 'D', 2));
  EXPECT_EQ(2000 * kYen, q.Sum("D1", 8110000, 1, 'C', 2));
  EXPECT_EQ(2200 * kYen, q.Sum("D1", 8110000, 2, 'C', 2));
  EXPECT_EQ(200 * kYen, q.Sum("D1", 3500000, 1, 'C', 2));
  EXPECT_EQ(0, q.Sum("D1", 3500000, 2, 'C', 2));
  EXPECT_EQ(2200 * kYen, q.Sum("D1", 1110000, 1, 'D', 2));
  EXPECT_EQ(1100 * kYen, q.Sum("D1", 1110000, 1, 'C', 2));
}

TEST(SumDerivation, WithoutATaxAccountSetOneLeavesTheTaxOut) {
  json line = {{"debit", 5110000},
               {"debitAmount", "1000"},
               {"debitTax", "100"},
               {"credit", 1110000},
               {"creditAmount", "1100"}};
  TestHost host(
      Company({Acc(1110000, "現金", 0, 1, "0x80880800"), Acc(5110000, "仕入高", 0, 1, "0x40884100")},
              {Journal(1, 20240510, {line})}));
  StoreQuery q(host.storePath());
  EXPECT_EQ(1000 * kYen, q.Int("SELECT SUM(amount) FROM sums WHERE amount_set = 1 AND side = 'D'"));
  EXPECT_EQ(1100 * kYen, q.Int("SELECT SUM(amount) FROM sums WHERE amount_set = 2 AND side = 'D'"));
}

TEST(SumDerivation, SubAccountLinesCountForTheParentRowOnly) {
  json pettyCash = Acc(1110003, "小口現金", 0, 1, "0x80880800");
  json compound = {{{"debit", 1110003}, {"debitAmount", "300"}, {"counterKind", 34}},
                   {{"debit", 1110000}, {"debitAmount", "200"}, {"counterKind", 34}},
                   {{"credit", 8110000}, {"creditAmount", "500"}, {"counterKind", 34}}};
  TestHost host(Company(
      {Acc(1110000, "現金", 0, 1, "0x80880800"), pettyCash, Acc(8110000, "売上高", 0, 0, "0x40888100")},
      {Journal(1, 20240601, compound)}));
  StoreQuery q(host.storePath());
  EXPECT_EQ(500 * kYen, q.Sum("D1", 1110000, 1, 'D', 3));
  EXPECT_EQ(0, q.Int("SELECT COUNT(*) FROM sums WHERE account_code = 1110003"));
  EXPECT_EQ(0, q.Int("SELECT balance_row FROM accounts WHERE account_code = 1110003"));
  EXPECT_EQ(3, q.Int("SELECT COUNT(*) FROM journal_lines WHERE journal_id = 1 AND counter_kind = 34"));
}

TEST(SumDerivation, TotalsAddTheirMembersIncludingNestedAndExplicitSums) {
  json cash = Acc(1110000, "現金", 0, 1, "0x80880800");
  cash["opening"] = "100";
  json deposit = Acc(1120000, "普通預金", 0, 1, "0x80880800");
  json zeros = json::array();
  for (int i = 0; i < 15; ++i) zeros.push_back("0");
  json fixedDebit = zeros;
  fixedDebit[5] = "0.5";
  deposit["sums"] = {{"set1", {{"debit", fixedDebit}, {"credit", zeros}}},
                     {"set2", {{"debit", zeros}, {"credit", zeros}}}};
  json current = Acc(1990000, "流動資産合計", 2, 1, "0x80880000");
  current["members"] = {1110000, 1120000};
  json assets = Acc(2990000, "資産合計", 2, 1, "0x80800000");
  assets["members"] = {1990000};
  json fixedTotal = Acc(2980000, "固定資産合計", 2, 1, "0x80840000");
  fixedTotal["sums"] = {{"set1", {{"debit", zeros}, {"credit", fixedDebit}}},
                        {"set2", {{"debit", zeros}, {"credit", zeros}}}};
  fixedTotal["members"] = {1110000};
  json journals = {Journal(1, 20240701, {Line(1110000, "40", 8110000, "40")})};
  // The grand total comes first in cursor order: derivation must not depend on row order.
  TestHost host(Company(
      {assets, cash, deposit, current, fixedTotal, Acc(8110000, "売上高", 0, 0, "0x40888100")}, journals));
  StoreQuery q(host.storePath());
  EXPECT_EQ(100 * kYen, q.Sum("D1", 2990000, 1, 'D', 0));
  EXPECT_EQ(100 * kYen, q.Sum("D1", 2990000, 2, 'D', 0));
  EXPECT_EQ(40 * kYen, q.Sum("D1", 2990000, 1, 'D', 4));
  EXPECT_EQ(5000, q.Sum("D1", 2990000, 1, 'D', 5));
  EXPECT_EQ(0, q.Sum("D1", 2990000, 2, 'D', 5));
  EXPECT_EQ(5000, q.Sum("D1", 2980000, 1, 'C', 5));  // explicit sums stand, members ignored
  EXPECT_EQ(0, q.Sum("D1", 2980000, 1, 'D', 0));
  EXPECT_EQ(1, q.Int("SELECT COUNT(*) FROM sums WHERE account_code = 2980000"));
}

}  // namespace

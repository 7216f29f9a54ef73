// The demo company as the store holds it, checked with plain SQL against the accounting
// identities: totals equal their members, the balance sheet balances, net income agrees
// between the income statement, retained earnings and the ordinary accounts.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "orbeck/store/Amount.h"
#include "tests/orbeck/store/StoreQuery.h"
#include "tests/support/TestHost.h"

namespace {

using nlohmann::json;
using orbeck::store::test::StoreQuery;
using velmora::test::TestHost;

class DemoCompany : public ::testing::Test {
 protected:
  void SetUp() override {
    demo = TestHost::LoadDemoCompany();
    ASSERT_FALSE(demo.is_null());
    host.Load(demo);
    ASSERT_TRUE(host.loaded());
  }

  // Debit minus credit of a row over the given entries, in the given set.
  int64_t Net(const std::string& rowFilter, int set, int firstEntry, int lastEntry) const {
    StoreQuery q(host.storePath());
    return q.Int(
        "SELECT COALESCE(SUM(CASE s.side WHEN 'D' THEN s.amount ELSE -s.amount END), 0) FROM sums s "
        "JOIN accounts a USING (data_id, account_code) WHERE s.amount_set = " +
        std::to_string(set) + " AND s.entry BETWEEN " + std::to_string(firstEntry) + " AND " +
        std::to_string(lastEntry) + " AND " + rowFilter);
  }
  static std::string Character(uint32_t code) {
    return "a.account_character = " + std::to_string(code) + " AND a.kind IN (2, 3)";
  }

  // Retained earnings brought forward is a listed total whose opening is its own.
  int64_t RetainedOpening() const {
    for (const json& account : demo["data"][0]["accounts"]) {
      if (account["character"] == "0x80281048") {
        return orbeck::store::ParseAmount(account["opening"].get<std::string>(), nullptr).value_or(0);
      }
    }
    return 0;
  }

  json demo;
  TestHost host{nullptr};
};

TEST_F(DemoCompany, EveryTotalEqualsItsMembersInEveryEntry) {
  StoreQuery q(host.storePath());
  int totals = 0;
  for (const json& account : demo["data"][0]["accounts"]) {
    if (!account.contains("members")) continue;
    ++totals;
    std::string members;
    for (const json& m : account["members"])
      members += (members.empty() ? "" : ",") + std::to_string(m.get<int>());
    int64_t opening =
        account.contains("opening")
            ? orbeck::store::ParseAmount(account["opening"].get<std::string>(), nullptr).value_or(0)
            : 0;
    for (int set : {1, 2}) {
      for (char side : {'D', 'C'}) {
        for (int entry = 0; entry < 15; ++entry) {
          std::string where = " WHERE amount_set = " + std::to_string(set) + " AND side = '" + side +
                              "' AND entry = " + std::to_string(entry);
          int64_t total = q.Int("SELECT COALESCE(SUM(amount), 0) FROM sums" + where +
                                " AND account_code = " + std::to_string(account["code"].get<int>()));
          int64_t sum = q.Int("SELECT COALESCE(SUM(amount), 0) FROM sums" + where + " AND account_code IN (" +
                              members + ")");
          // The one total with an opening of its own (retained earnings) is of credit nature.
          if (entry == 0 && side == 'C') sum += opening;
          EXPECT_EQ(sum, total) << account["name"] << " set " << set << " " << side << " entry " << entry;
        }
      }
    }
  }
  EXPECT_GT(totals, 30);
}

TEST_F(DemoCompany, BalanceSheetBalancesAtEveryMonthEndAndAfterTheAdjustments) {
  for (int set : {1, 2}) {
    for (int last : {0, 1, 6, 12, 13}) {
      int64_t assets = Net(Character(0x80800000), set, 0, last);
      int64_t liabilitiesAndNetAssets = -Net(Character(0x80100000), set, 0, last);
      EXPECT_EQ(assets, liabilitiesAndNetAssets) << "set " << set << " through entry " << last;
      // Independent of the total rows: every asset account against every liability and
      // net-asset account plus the year's result of the income and manufacturing accounts.
      int64_t assetAccounts =
          Net("a.kind = 0 AND (a.account_character & 2155872256) = 2155872256", set, 0, last);
      int64_t otherAccounts =
          RetainedOpening() -
          Net("a.kind = 0 AND (a.account_character & 2151677952) = 2151677952", set, 0, last) -
          Net("a.kind = 0 AND (a.account_character & 2149580800) = 2149580800", set, 0, last) -
          Net("a.kind = 0 AND (a.account_character & 2147483648) = 0", set, 0, last);
      EXPECT_EQ(assets, assetAccounts) << "set " << set << " through entry " << last;
      EXPECT_EQ(assetAccounts, otherAccounts) << "set " << set << " through entry " << last;
    }
  }
  EXPECT_EQ(3454137000000, Net(Character(0x80800000), 1, 0, 13));
}

TEST_F(DemoCompany, NetIncomeAgreesBetweenTheStatements) {
  int64_t netIncome = -Net(Character(0x40200040), 1, 0, 13);
  int64_t fromAccounts =
      -Net("a.kind = 0 AND (a.account_character & 2147483648) = 0 AND a.balance_row = 1", 1, 0, 13);
  int64_t retainedChange = -Net(Character(0x80281048), 1, 1, 13);
  EXPECT_EQ(fromAccounts, netIncome);
  EXPECT_EQ(netIncome, retainedChange);
  EXPECT_EQ(netIncome, -Net(Character(0x40200020), 1, 0, 13));
  EXPECT_GT(netIncome, 0);
  // Cost of goods manufactured flows from the schedule into cost of sales.
  EXPECT_EQ(Net(Character(0x40884200), 1, 0, 13),
            Net(Character(0x20100008), 1, 0, 13) + Net(Character(0x20102000), 1, 0, 13));
}

TEST_F(DemoCompany, CarriesEveryStatementGroupAndNetAssetComponent) {
  StoreQuery q(host.storePath());
  const uint32_t totals[] = {
      0x80800000, 0x80880000, 0x80840000, 0x80848000, 0x80844000, 0x80842000, 0x80400000, 0x80480000,
      0x80440000, 0x80200000, 0x80100000, 0x40888000, 0x40884000, 0x40880008, 0x40882000, 0x40880000,
      0x40848000, 0x40844000, 0x40800000, 0x40480000, 0x40440000, 0x40200080, 0x40200020, 0x40200040,
      0x20800000, 0x20400000, 0x20200000, 0x20080000, 0x20108000, 0x20100008, 0x20102000, 0x40884200};
  for (uint32_t code : totals) {
    EXPECT_EQ(1, q.Int("SELECT COUNT(*) FROM accounts WHERE kind IN (2, 3) AND balance_row = 1 AND "
                       "account_character = " +
                       std::to_string(code)))
        << std::hex << code;
  }
  const uint32_t components[] = {0x80288000, 0x80282080, 0x80281080, 0x80281048};
  for (uint32_t code : components) {
    EXPECT_EQ(1, q.Int("SELECT COUNT(*) FROM accounts WHERE kind IN (0, 3) AND account_character = " +
                       std::to_string(code)))
        << std::hex << code;
  }
  EXPECT_EQ(2, q.Int("SELECT COUNT(*) FROM accounts WHERE kind = 0 AND account_character = " +
                     std::to_string(0x80281040u)));
  // 別途積立金 in code page 932, spelt out independently of any converter.
  EXPECT_EQ(1, q.Int("SELECT COUNT(*) FROM accounts WHERE official_name = X'95CA937290CF97A78BE0'"));
}

TEST_F(DemoCompany, HasAYearOfJournalsWithTaxCompoundEntriesAndAdjustments) {
  StoreQuery q(host.storePath());
  EXPECT_GE(q.Int("SELECT COUNT(*) FROM journals"), 200);
  for (int month = 1; month <= 12; ++month) {
    EXPECT_GE(q.Int("SELECT COUNT(*) FROM sums WHERE amount_set = 1 AND entry = " + std::to_string(month)),
              20)
        << "fiscal month " << month;
  }
  EXPECT_GE(q.Int("SELECT COUNT(*) FROM journals WHERE adjustment = 13"), 1);
  EXPECT_GE(q.Int("SELECT COUNT(*) FROM journal_lines WHERE counter_kind = 34"), 20);
  EXPECT_GE(q.Int("SELECT COUNT(*) FROM journal_lines WHERE debit_tax <> 0 OR credit_tax <> 0"), 50);
  EXPECT_GE(q.Int("SELECT COUNT(*) FROM journal_lines l JOIN accounts a ON a.data_id = l.data_id AND "
                  "a.account_code = l.debit_code WHERE a.balance_row = 0"),
            1);
  EXPECT_EQ(0, q.Int("SELECT COUNT(*) FROM (SELECT journal_id FROM journal_lines GROUP BY journal_id HAVING "
                     "SUM(debit_amount + debit_tax) <> SUM(credit_amount + credit_tax))"));
  int64_t accounts = q.Int("SELECT COUNT(*) FROM accounts WHERE kind = 0");
  EXPECT_GE(accounts, 70);
  EXPECT_LE(accounts, 100);
  // Consumption tax is settled at the year end: both tax accounts close at zero in set 1.
  EXPECT_EQ(0, Net("a.account_character = 2156398608", 1, 0, 13));
  EXPECT_EQ(0, Net("a.account_character = 2152218640", 1, 0, 13));
}

TEST_F(DemoCompany, ProfileErasAndSavedNotes) {
  StoreQuery q(host.storePath());
  EXPECT_EQ(
      1,
      q.Int("SELECT COUNT(*) FROM data WHERE data_id = 'DEMO01' AND pattern_flag = 1 AND interim_closing = 0 "
            "AND period_start = 20240401 AND period_end = 20250331 AND closing_day = 31 AND "
            "amount_basis = 0 AND has_tax_settings = 1 AND companies_act_ready = 1"));
  EXPECT_EQ(1, q.Int("SELECT COUNT(*) FROM eras WHERE first_day = 20190501 AND name = X'97DF9861'"));  // 令和
  EXPECT_EQ(5, q.Int("SELECT COUNT(*) FROM eras"));
  EXPECT_EQ(
      1,
      q.Int(
          "SELECT COUNT(*) FROM saved_documents WHERE kind = 0 AND instr(content, CAST('Note=1' AS BLOB))"));
  EXPECT_EQ(
      1, q.Int("SELECT COUNT(*) FROM saved_documents WHERE kind = 100 AND "
               "instr(content, CAST('InputMode=1' AS BLOB)) AND instr(content, CAST('[Note_10]' AS BLOB))"));
  for (const char* record : {"<ID>1000010\r\n", "<ID>1010010\r\n", "<ID>1060010\r\n", "<ID>1060020\r\n"}) {
    EXPECT_EQ(1,
              q.Int(std::string(
                        "SELECT COUNT(*) FROM saved_documents WHERE kind = 1000 AND instr(content, CAST('") +
                    record + "' AS BLOB))"))
        << record;
  }
  EXPECT_GE(q.Int("SELECT (length(content) - length(replace(content, CAST('<Disp>1' AS BLOB), X''))) / 7 "
                  "FROM saved_documents WHERE kind = 1000"),
            3);
}

}  // namespace

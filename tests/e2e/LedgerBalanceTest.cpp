// Every ledger form of an export agrees with itself and with the statements: its running
// balance starts from its opening, moves by each row's amount and ends at its closing
// balance, and that closing balance is the amount of the account's statement item. Checked
// on the document's bytes, over small fixed companies and over generated ones with interim
// adjustments and lines on the consumption-tax accounts themselves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/CompanyGenerator.h"
#include "tests/app/RunFixture.h"

namespace fs = std::filesystem;
using nlohmann::json;
using velmora::test::ExecuteScript;
using velmora::test::RunFixture;
using velmora::test::TestHost;

namespace {

// The text between <tag> and </tag> on a line, or none.
bool ElementText(const std::string& line, const std::string& tag, std::string& text) {
  const std::string open = "<" + tag + ">";
  const std::size_t at = line.find(open);
  if (at == std::string::npos) return false;
  const std::size_t end = line.find("</" + tag + ">", at);
  text = line.substr(at + open.size(), end - at - open.size());
  return true;
}

// Checks the document's ledger forms; returns how many rows it walked.
long CheckLedgerForms(const fs::path& document) {
  std::ifstream in(document, std::ios::binary);
  std::string line;
  std::multimap<std::string, long long> items;  // statement items by label (code page 932)
  struct Form {
    std::string name;
    long long opening = 0, closing = 0, balance = 0;
    long rows = 0;
  };
  std::vector<Form> forms;
  long rows = 0;
  while (std::getline(in, line)) {
    std::string text;
    if (const std::size_t at = line.find("<Item Label=\""); at != std::string::npos) {
      const std::size_t close = line.find("\">", at);
      const std::string label = line.substr(at + 13, close - at - 13);
      items.emplace(label, std::stoll(line.substr(close + 2)));
    } else if (ElementText(line, "HJ00780S0010", text)) {
      forms.push_back({text});
    } else if (ElementText(line, "HJ00780S0030", text)) {
      forms.back().opening = forms.back().balance = std::stoll(text);
    } else if (ElementText(line, "HJ00780S0040", text)) {
      forms.back().closing = std::stoll(text);
    } else if (ElementText(line, "HJ00780S0110", text)) {
      forms.back().balance += std::stoll(text);
      ++forms.back().rows;
      ++rows;
    } else if (ElementText(line, "HJ00780S0120", text)) {
      EXPECT_EQ(forms.back().balance, std::stoll(text)) << "row " << forms.back().rows << " of a form";
      forms.back().balance = std::stoll(text);
    }
  }
  EXPECT_FALSE(forms.empty());
  for (const Form& form : forms) {
    EXPECT_EQ(form.closing, form.balance)
        << "a form's last running balance is not its closing balance (" << form.rows << " rows)";
    bool itemAgrees = false;
    auto [first, last] = items.equal_range(form.name);
    for (auto it = first; it != last; ++it) itemAgrees |= it->second == form.closing;
    EXPECT_TRUE(itemAgrees) << "no statement item of the form's name shows its closing " << form.closing;
  }
  return rows;
}

long ExportAndCheck(const json& company) {
  RunFixture run(company);
  EXPECT_EQ(0, run.Run("", ExecuteScript("ledger.xml")));
  return CheckLedgerForms(run.COut() / "ledger.xml");
}

json WithPaidTaxAccount(json company) {
  json& data = company["data"][0];
  data["accounts"].push_back({{"code", 1420000},
                              {"name", "仮払消費税"},
                              {"kind", 0},
                              {"debitNature", 1},
                              {"character", "0x80880810"}});
  data["accounts"][2]["members"].push_back(1420000);
  return company;
}

json Journal(int id, int date, int adjustment, json line) {
  return {{"id", id}, {"date", date}, {"adjustment", adjustment}, {"lines", json::array({std::move(line)})}};
}

TEST(LedgerBalance, InterimAdjustmentStaysOutOfAWholeYearLedger) {
  json company = TestHost::MinimalCompany();
  json& data = company["data"][0];
  data["interimClosing"] = 1;
  data["journals"].push_back(Journal(2, 20240930, 14,
                                     {{"debit", 1110000},
                                      {"debitAmount", "30000"},
                                      {"credit", 8110000},
                                      {"creditAmount", "30000"},
                                      {"description", "中間整理"}}));
  EXPECT_EQ(2, ExportAndCheck(company)) << "only the ordinary sales journal has rows, one per account";
}

TEST(LedgerBalance, TaxAccountsOwnLinesAndTheTaxOfOtherLinesMeetInOneBalance) {
  json company = WithPaidTaxAccount(TestHost::MinimalCompany());
  company["data"][0]["journals"].push_back(Journal(2, 20240501, 0,
                                                   {{"debit", 1350000},
                                                    {"debitAmount", "1000"},
                                                    {"debitTax", "100"},
                                                    {"credit", 1110000},
                                                    {"creditAmount", "1100"},
                                                    {"description", "仕入"}}));
  company["data"][0]["journals"].push_back(Journal(3, 20240502, 0,
                                                   {{"debit", 1110000},
                                                    {"debitAmount", "60"},
                                                    {"credit", 1420000},
                                                    {"creditAmount", "60"},
                                                    {"description", "仮払消費税 一部振替"}}));
  ExportAndCheck(company);
}

TEST(LedgerBalance, GeneratedCompaniesUnderBothAmountBases) {
  const json demo = TestHost::LoadDemoCompany();
  for (std::uint32_t seed : {1u, 2u}) {
    for (int amountBasis : {0, 1}) {
      velmora::bench::CompanyOptions options;
      options.journals = 400;
      options.accounts = 150;
      options.seed = seed;
      options.interimClosing = true;
      options.linesOnTaxAccounts = true;
      std::ostringstream text;
      velmora::bench::CompanyCounts counts;
      std::string error;
      ASSERT_TRUE(velmora::bench::WriteCompany(demo, options, text, {}, counts, error)) << error;
      json company = json::parse(text.str());
      company["data"][0]["tax"]["amountBasis"] = amountBasis;
      SCOPED_TRACE("seed " + std::to_string(seed) + ", amount basis " + std::to_string(amountBasis));
      EXPECT_GT(ExportAndCheck(company), counts.lines) << "fewer ledger rows than journal lines";
    }
  }
}

}  // namespace

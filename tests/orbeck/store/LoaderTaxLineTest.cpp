// Lines on the consumption-tax accounts: a line that names one of them, or one of their
// sub-accounts whatever its character, carries no tax on either side; the refusal names the
// journal and the line, and the same line without a tax is taken.
#include <gtest/gtest.h>

#include "tests/orbeck/store/LoaderCases.h"
#include "tests/support/TestHost.h"

namespace orbeck::store::test {
namespace {

using velmora::test::TestHost;

// The document with the consumption-tax accounts 仮払消費税 1420000 (and its sub-account
// 1420001) and 仮受消費税 4190000, whose sub-account 4190001 has an ordinary character.
json& WithTaxAccounts(json& doc) {
  json& accounts = doc["data"][0]["accounts"];
  accounts.push_back({{"code", 1420000},
                      {"name", "仮払消費税"},
                      {"kind", 0},
                      {"debitNature", 1},
                      {"character", "0x80880810"}});
  accounts.push_back({{"code", 1420001},
                      {"name", "仮払消費税 本社"},
                      {"kind", 0},
                      {"debitNature", 1},
                      {"character", "0x80880810"}});
  accounts.push_back({{"code", 4190000},
                      {"name", "仮受消費税"},
                      {"kind", 0},
                      {"debitNature", 0},
                      {"character", "0x80484010"}});
  accounts.push_back({{"code", 4190001},
                      {"name", "仮受消費税 支店"},
                      {"kind", 0},
                      {"debitNature", 0},
                      {"character", "0x80480100"}});
  return doc;
}

const BadCase kTaxLineCases[] = {
    {"tax on the paid-tax account's own side",
     [](json& d) {
       Line(WithTaxAccounts(d))["debit"] = 1420000;
       Line(d)["debitTax"] = "100";
     },
     "/data/0/journals/0/lines/0/debitTax"},
    {"tax on the other side of a line on a received-tax sub-account",
     [](json& d) {
       Line(WithTaxAccounts(d))["debit"] = 4190001;
       Line(d)["creditTax"] = "7";
     },
     "/data/0/journals/0/lines/0/creditTax"},
    {"taxed purchase paid from the paid-tax sub-account",
     [](json& d) {
       Line(WithTaxAccounts(d))["credit"] = 1420001;
       Line(d)["debitTax"] = "0.0001";
     },
     "/data/0/journals/0/lines/0/debitTax"},
};

INSTANTIATE_TEST_SUITE_P(BadDocuments, LoaderRefuses, ::testing::ValuesIn(kTaxLineCases), CaseName);

TEST(LoaderTaxLines, TheMessageNamesTheJournalAndLineAndAnUntaxedLineIsTaken) {
  json doc = TestHost::MinimalCompany();
  json& journal = Journal(WithTaxAccounts(doc));
  journal["lines"].push_back(
      {{"debit", 4190000}, {"debitAmount", "100"}, {"credit", 1420000}, {"creditAmount", "100"}});
  TestHost host(nullptr);
  std::string error;
  EXPECT_TRUE(host.TryLoad(doc, error)) << "a line on the tax accounts without a tax: " << error;
  journal["lines"][1]["creditTax"] = "10";
  EXPECT_FALSE(host.TryLoad(doc, error));
  EXPECT_EQ(
      "/data/0/journals/0/lines/1/creditTax: journal 1 line 2 names the consumption-tax account "
      "4190000 and carries a tax; such a line carries none",
      error);
}

}  // namespace
}  // namespace orbeck::store::test

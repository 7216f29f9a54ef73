// The CSV and GnuCash sources through the whole importer against hledger: the host data
// document made from a journal CSV (a generated company) and from a GnuCash book (our SQL
// fixture) holds, account by account, the balance hledger gives for the same books written
// as an hledger journal (the generator's, and tests/data/gnucash/book.journal by hand).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "bench/CompanyGenerator.h"
#include "orbeck/store/Amount.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#include "tools/orbeck-import/Import.h"
#include "tools/orbeck-import/Sections.h"

namespace orbeck::import {
namespace {

// Ten-thousandths of a yen by account name, debit positive.
using Balances = std::map<std::string, int64_t>;

int64_t Amount(const nlohmann::json& value) {
  return value.is_string() ? orbeck::store::ParseAmount(value.get<std::string>(), nullptr).value_or(-1) : 0;
}

// The document's balance of each account with its sub-accounts, tax excluded, the sides'
// tax on the consumption-tax accounts: what the host sums as its tax-excluded balance.
Balances DocumentBalances(const std::filesystem::path& file) {
  std::ifstream in(file);
  const nlohmann::json document = nlohmann::json::parse(in);
  const nlohmann::json& data = document.at("data").at(0);
  std::map<int64_t, std::string> names;
  int64_t paidTax = 0, receivedTax = 0;
  for (const nlohmann::json& a : data.at("accounts")) {
    const int64_t code = a.at("code").get<int64_t>();
    if (code % 10000 == 0) names[code] = a.at("name").get<std::string>();
    const nlohmann::json& c = a.at("character");
    const unsigned long character =
        c.is_string() ? std::stoul(c.get<std::string>(), nullptr, 16) : c.get<unsigned long>();
    if (character == 0x80880810 && paidTax == 0) paidTax = code;
    if (character == 0x80484010 && receivedTax == 0) receivedTax = code;
  }
  Balances balances;
  auto add = [&](const nlohmann::json& code, int64_t amount) {
    if (!code.is_null() && amount != 0) balances[names[code.get<int64_t>() / 10000 * 10000]] += amount;
  };
  for (const nlohmann::json& journal : data.at("journals"))
    for (const nlohmann::json& line : journal.at("lines")) {
      add(line.value("debit", nlohmann::json()), Amount(line.value("debitAmount", nlohmann::json())));
      add(line.value("credit", nlohmann::json()), -Amount(line.value("creditAmount", nlohmann::json())));
      add(paidTax, Amount(line.value("debitTax", nlohmann::json())));
      add(receivedTax, -Amount(line.value("creditTax", nlohmann::json())));
    }
  std::erase_if(balances, [](const auto& entry) { return entry.second == 0; });
  return balances;
}

// hledger's balance of each account `depth` levels down, named by its last level.
Balances HledgerBalances(const std::filesystem::path& journal, int depth) {
  const velmora::test::CommandResult run = velmora::test::CaptureCommand(
      "hledger -f '" + journal.string() + "' bal --flat --no-total -O csv --depth " + std::to_string(depth));
  EXPECT_EQ(run.exitCode, 0) << "hledger (Debian's hledger) must be installed";
  Balances balances;
  std::istringstream rows(run.output);
  std::string row;
  std::getline(rows, row);
  while (std::getline(rows, row)) {
    const std::size_t comma = row.find("\",\"");
    const std::string account = row.substr(1, comma - 1);
    balances[account.substr(account.rfind(':') + 1)] +=
        orbeck::store::ParseAmount(row.substr(comma + 3, row.size() - comma - 4), nullptr).value_or(-1);
  }
  std::erase_if(balances, [](const auto& entry) { return entry.second == 0; });
  return balances;
}

std::filesystem::path Folder() {
  const std::filesystem::path folder =
      std::filesystem::path(testing::TempDir()) /
      ("velmora-sources-peer-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
  std::filesystem::create_directories(folder);
  return folder;
}

// The importer's own result, with its message on failure.
int Import(const std::filesystem::path& books, const std::filesystem::path& map,
           const std::filesystem::path& out, std::string& error) {
  ImportOptions options;
  options.books = books;
  options.map = map;
  options.json = out;
  options.periodStart = "2024-04-01";
  std::ostringstream explain;
  return RunImport(options, explain, error);
}

TEST(SourcesPeer, AGeneratedCompanysCsvAsHledgerBalancesItsJournal) {
  const nlohmann::json demo =
      nlohmann::json::parse(velmora::test::ReadBytes(velmora::test::SourcePath("data/demo-company.json")));
  // The CSV names no account types, so its map places each account of the chart by name
  // in the section of the chart's own account character.
  nlohmann::json rules = nlohmann::json::array();
  for (const nlohmann::json& a : demo.at("data").at(0).at("accounts")) {
    const std::string character = a.at("character").get<std::string>();
    if (a.at("kind") != 0 || a.at("code").get<int64_t>() % 10000 != 0) continue;
    for (const Section& section : Sections())
      if (std::stoul(character, nullptr, 16) == section.character &&
          a.at("debitNature") == section.debitNature) {
        rules.push_back({{"account", a.at("name")}, {"section", section.key}});
        break;
      }
  }
  const std::filesystem::path folder = Folder();
  std::ofstream(folder / "map.json") << nlohmann::json{
      {"format", "orbeck-import-map"},
      {"version", 1},
      {"accounts", rules}}.dump();
  velmora::bench::CompanyOptions options;
  options.journals = 800;
  options.accounts = 250;
  options.interimClosing = true;
  std::ostringstream company;
  std::ofstream journal(folder / "books.journal", std::ios::binary),
      csv(folder / "books.csv", std::ios::binary);
  velmora::bench::CompanyCounts counts;
  std::string error;
  ASSERT_TRUE(velmora::bench::WriteCompany(demo, options, company, {nullptr, &journal, &csv}, counts, error));
  journal.close();
  csv.close();

  ASSERT_EQ(Import(folder / "books.csv", folder / "map.json", folder / "out.json", error), 1) << error;
  const Balances document = DocumentBalances(folder / "out.json");
  EXPECT_EQ(document, HledgerBalances(folder / "books.journal", 2));
  EXPECT_GT(document.size(), 40u);
}

TEST(SourcesPeer, TheGnuCashFixtureAsHledgerBalancesTheSameBooks) {
  const std::filesystem::path folder = Folder();
  const std::filesystem::path book = folder / "book.gnucash";
  std::filesystem::remove(book);
  const std::string sql = velmora::test::ReadBytes(velmora::test::DataPath("gnucash/make-book.sql"));
  sqlite3* db = nullptr;
  sqlite3_open(book.string().c_str(), &db);
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
  // GnuCash states the types, so the standard names place most accounts; the map places
  // the two the standard chart does not know.
  std::ofstream(folder / "map.json") << R"({"format": "orbeck-import-map", "version": 1, "accounts": [
      {"account": "負債:カード", "section": "bs.current-liabilities", "name": "未払金"},
      {"account": "Imbalance-JPY", "section": "bs.current.other", "name": "仮払金"}]})";
  std::string error;
  ASSERT_EQ(Import(book, folder / "map.json", folder / "out.json", error), 1) << error;
  Balances expected = HledgerBalances(velmora::test::DataPath("gnucash/book.journal"), 2);
  expected["未払金"] = expected["カード"];
  expected.erase("カード");
  EXPECT_EQ(DocumentBalances(folder / "out.json"), expected);
}

}  // namespace
}  // namespace orbeck::import

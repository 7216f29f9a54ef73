// The CSV source against a real peer: a generated company written both as a journal CSV and
// as an hledger journal; every account's balance of the books the CSV source reads equals
// hledger's balance of the journal, the tax each CSV row states standing on the
// consumption-tax accounts as the journal has it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "bench/CompanyGenerator.h"
#include "tests/support/Process.h"
#include "tools/orbeck-import/csv/CsvBooksReader.h"

namespace orbeck::import {
namespace {

// Balances in yen by the account's path below its top level ("普通預金:北都銀行").
using Balances = std::map<std::string, long long>;

class BalanceSink : public BookSink {
 public:
  Balances balances;
  int Take(const SourceAccount&, std::string&) override { return 1; }
  int Take(const Transaction& t, std::string& error) override {
    for (const Posting& p : t.postings) {
      if (p.amount % 10000 != 0 || p.tax % 10000 != 0) {
        error = p.origin + ": the generator writes whole yen";
        return 0;
      }
      balances[p.account] += (p.amount - p.tax) / 10000;
      if (p.tax != 0) balances[p.tax > 0 ? "仮払消費税" : "仮受消費税"] += p.tax / 10000;
    }
    return 1;
  }
};

// hledger's CSV balance report: "account","balance" rows, the total last.
Balances HledgerBalances(const std::string& journal) {
  const velmora::test::CommandResult run =
      velmora::test::CaptureCommand("hledger -f '" + journal + "' bal --flat --no-total -O csv");
  EXPECT_EQ(run.exitCode, 0) << "hledger (Debian's hledger) must be installed";
  Balances balances;
  std::istringstream rows(run.output);
  std::string row;
  std::getline(rows, row);
  while (std::getline(rows, row)) {
    const std::size_t comma = row.find("\",\"");
    const std::string account = row.substr(1, comma - 1);
    balances[account.substr(account.find(':') + 1)] +=
        std::stoll(row.substr(comma + 3, row.size() - comma - 4));
  }
  return balances;
}

TEST(CsvPeer, GeneratedBooksBalanceAsHledgerSays) {
  std::ifstream demoFile(VELMORA_TEST_SOURCE_DIR "/data/demo-company.json");
  const nlohmann::json demo = nlohmann::json::parse(demoFile);
  const std::string folder = testing::TempDir();
  for (std::uint32_t seed : {1u, 7u}) {
    velmora::bench::CompanyOptions options;
    options.journals = 1500;
    options.accounts = 300;
    options.seed = seed;
    options.interimClosing = seed == 7;
    std::ostringstream company, hledger, csv;
    velmora::bench::CompanyCounts counts;
    std::string error;
    ASSERT_TRUE(
        velmora::bench::WriteCompany(demo, options, company, {nullptr, &hledger, &csv}, counts, error));
    const std::string journal = folder + "velmora-csv-peer.journal";
    std::ofstream(journal, std::ios::binary) << hledger.str();

    BalanceSink books;
    ASSERT_EQ(ReadCsvBooks(csv.str(), "company.csv", DefaultCsvLayout(), books, error), 1) << error;
    std::erase_if(books.balances, [](const auto& entry) { return entry.second == 0; });
    EXPECT_EQ(books.balances, HledgerBalances(journal)) << "seed " << seed;
    EXPECT_GT(books.balances.size(), 100u);
  }
}

}  // namespace
}  // namespace orbeck::import

// Host data of any size for the benchmark and the whole-program tests: the demo company's
// chart with its statement totals, widened with sub-accounts to the asked number of
// accounts, and a year of generated journals (simple and compound entries, consumption tax
// on some lines, year-end adjustments). The same postings can be written as a plain-text
// journal for a double-entry reference tool, and as an hledger journal and a journal CSV
// with the chart's names. Deterministic for a seed.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

namespace velmora::bench {

struct CompanyOptions {
  long journals = 1000;
  int accounts = 2000;  // accounts and sub-accounts in all (at least the demo chart's)
  std::uint32_t seed = 1;
  // An interim closing in the data, with interim-adjustment journals.
  bool interimClosing = false;
  // Lines on the consumption-tax accounts themselves (without a tax, as the host keeps them).
  bool linesOnTaxAccounts = false;
};

struct CompanyCounts {
  long journals = 0;
  long lines = 0;
  int accounts = 0;
};

// The same books in other forms, each written where a stream is given.
struct JournalOutputs {
  // A plain-text journal for ledger-cli, accounts named "A" + code (one posting per side,
  // tax as a posting of its own on the tax account).
  std::ostream* ledger = nullptr;
  // The books an accountant keeps, with the chart's Japanese names (bench/JournalText.h).
  std::ostream* hledger = nullptr;
  std::ostream* csv = nullptr;
};

// Writes the host data document (compact JSON) built on `demo` (data/demo-company.json),
// and every entry to the outputs given. False with `error` when the demo document is not
// the expected one.
bool WriteCompany(const nlohmann::json& demo, const CompanyOptions& options, std::ostream& json,
                  const JournalOutputs& outputs, CompanyCounts& counts, std::string& error);

}  // namespace velmora::bench

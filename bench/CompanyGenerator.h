// Host data of any size for the benchmark and the whole-program tests: the demo company's
// chart with its statement totals, widened with sub-accounts to the asked number of
// accounts, and a year of generated journals (simple and compound entries, consumption tax
// on some lines, year-end adjustments). The same postings can be written as a plain-text
// journal for a double-entry reference tool. Deterministic for a seed.
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
  // Lines on the consumption-tax accounts that carry a tax of their own.
  bool taxOnTaxAccounts = false;
};

struct CompanyCounts {
  long journals = 0;
  long lines = 0;
  int accounts = 0;
};

// Writes the host data document (compact JSON) built on `demo` (data/demo-company.json);
// with `journal`, also every entry as a plain-text double-entry journal (one posting per
// side, tax as a posting of its own on the tax account). False with `error` when the demo
// document is not the expected one.
bool WriteCompany(const nlohmann::json& demo, const CompanyOptions& options, std::ostream& json,
                  std::ostream* journal, CompanyCounts& counts, std::string& error);

}  // namespace velmora::bench

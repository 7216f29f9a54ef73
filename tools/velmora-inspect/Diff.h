// diff: two documents compared item by item. Every amount is keyed by its label path (the
// statement, its sections and the line's label); the ledger is compared per account by its
// opening and closing balances, the sums of its increases and decreases and its number of
// postings, so that two ledgers of any length compare in constant memory. Texts (company,
// period, notes) are compared too and reported without a difference.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Finding.h"

namespace inspect {

struct DiffEntry {
  std::string path;
  std::optional<std::int64_t> amount;  // absent for a text
  std::string text;
};

// The entries of one document in document order; findings when it cannot be read whole.
std::vector<DiffEntry> DiffEntries(const std::string& path, std::vector<Finding>& findings);

struct Difference {
  enum class Kind { Changed, Appeared, Disappeared };
  Kind kind = Kind::Changed;
  std::string path;
  std::optional<std::int64_t> before, after;  // absent for texts
  std::string beforeText, afterText;
};

std::vector<Difference> Compare(const std::vector<DiffEntry>& before, const std::vector<DiffEntry>& after);

// One line per difference: "changed  PATH: 252,800 -> 262,800 (+10,000)".
std::string FormatDifference(const Difference& d);

}  // namespace inspect

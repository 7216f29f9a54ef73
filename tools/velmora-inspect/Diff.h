// diff: two documents compared. The statements item by item, every amount keyed by its label
// path (the statement, its sections and the line's label); the statement of changes per
// component; the company, the period and the text of each note; and the general ledger row
// by row (LedgerDiff), both documents streaming side by side, so that ledgers of any length
// compare in memory that grows only with their number of accounts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Layout.h"
#include "tools/velmora-inspect/Source.h"

namespace inspect {

struct Difference {
  enum class Kind { Changed, Appeared, Disappeared };
  enum class Part { Statements, Notes, Ledger };
  Kind kind = Kind::Changed;
  Part part = Part::Statements;
  std::string path;
  std::optional<std::int64_t> before, after;  // absent for texts
  std::string beforeText, afterText;
};

// One line per difference: "changed     PATH: 252,800 -> 262,800 (10,000 増加)"; negative
// amounts with △, the change as a positive amount with 増加 or 減少.
std::string FormatDifference(const Difference& d);

// The statements, the statement of changes, the company, the period and the notes of two
// layouts.
std::vector<Difference> CompareLayouts(const Layout& before, const Layout& after);

struct DiffOutcome {
  bool readable = false;  // both documents were read whole
  std::vector<Finding> beforeProblems, afterProblems;
  std::int64_t statements = 0, notes = 0, ledger = 0;  // differences found in each part
};

// Compares the documents, handing each difference to report as it is found: the statements'
// and the notes' first, then the ledger's in ledger order.
DiffOutcome DiffDocuments(const Source& before, const Source& after,
                          const std::function<void(const Difference&)>& report);

}  // namespace inspect

// check: the document read with its schema, then the statement rules (StatementRules) on
// the tree before the ledger and the ledger rules (LedgerRules) on its rows as they stream.
// A rule that every correct document keeps reports an error; one that a correct document may
// break (a period that does not start at the first month, postings the host leaves out of
// the ledger, amounts with fractions of a yen cut to whole yen) reports a warning.
#pragma once

#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Source.h"

namespace inspect {

// Every finding in line order (a source that cannot be opened gives one finding; the
// command asks OpenProblem first).
std::vector<Finding> CheckDocument(const Source& source);

}  // namespace inspect

// The rules the statements keep beyond their schema: totals are the sums of their parts,
// the balance sheet balances, the income statement and the manufacturing cost schedule add
// up from the top down, and the statement of changes agrees with itself, with the balance
// sheet and with the income statement. Amounts in the document are whole yen cut toward zero
// from amounts the host keeps in ten-thousandths of a yen, so a sum of n printed figures can
// miss its printed total by up to n yen: such a small difference is a warning.
#pragma once

#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Report.h"

namespace inspect {

// root: REPORT as read before the ledger. Appends what it finds.
void CheckStatements(const Element& root, std::vector<Finding>& findings);

}  // namespace inspect

// The general ledgers of two documents compared row by row. Accounts are paired by name (a
// name that occurs twice gets "#2"), keeping the order of both ledgers; an account in one
// document only is reported with its balances and its number of postings. Within a pair of
// accounts the rows are compared in order, field by field (date, line number, sub-account,
// counter account and its sub-account, description, amount, running balance); a posting
// that one side lacks is found by looking a few rows ahead on both sides, so that one
// inserted or removed posting does not make every row after it differ.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Diff.h"
#include "tools/velmora-inspect/LedgerStream.h"

namespace inspect {

// The account names of a ledger in order, a repeated name with "#2", "#3", ...
std::vector<std::string> LedgerAccounts(const Source& source);

// Compares the ledgers of two streams whose statements have been read. The sources are read
// once more for their lists of accounts only when the ledgers' accounts differ.
void CompareLedgers(LedgerStream& before, LedgerStream& after, const Source& beforeSource,
                    const Source& afterSource, const std::function<void(const Difference&)>& report);

}  // namespace inspect

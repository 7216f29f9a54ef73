// The ledger table's rows of one data record, derived from its journals in memory: the same
// rows postings.sql derives from the journal tables, in the table's key order, so that the
// loader writes the table front to back without SQLite sorting a million rows.
#pragma once

#include <cstdint>
#include <vector>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

// One row of the ledger table: its key beyond the data record, and the line it copies.
struct PostingRow {
  int32_t accountNo = 0;  // account code / 10000
  int32_t date = 0;
  int32_t journalId = 0;
  int32_t lineNo = 0;  // 1-based
  int32_t reach = 0;   // 1 debit side, 2 credit side, 3 paid tax, 4 received tax
  int32_t adjustment = 0;
  const JournalLineRecord* line = nullptr;  // in the record's journals, which must outlive the row
};

// The record's rows sorted by (account number, date, journal, line, reach).
std::vector<PostingRow> PostingRowsOf(const DataRecord& data);

}  // namespace orbeck::store

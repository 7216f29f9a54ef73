// The imported books as a host data document (docs/host-data.md): the chart with its total
// rows, openings and sub-accounts, and one journal per transaction of the period, written
// as text to a stream so that a large book is never held twice.
#pragma once

#include <ostream>
#include <string>

#include "tools/orbeck-import/AccountMap.h"
#include "tools/orbeck-import/BookImporter.h"

namespace orbeck::import {

// The journal lines of one transaction: where a consumption-tax posting pairs with exactly
// one line of its side, it becomes that line's tax; a debit and a credit side alone make one
// line; otherwise each posting is a line of its own.
struct LineSide {
  int32_t code = 0;
  int64_t amount = 0;  // tax excluded, in the side's own direction (positive)
  int64_t tax = 0;
};
struct HostLine {
  LineSide debit, credit;
  int counterKind = 0;
};
std::vector<HostLine> JournalLines(const ImportedBooks& books, const BookedTransaction& transaction);

// The host account code of a booked posting's account.
int32_t CodeOf(const ImportedBooks& books, int32_t host, int32_t sub);

void WriteHostDataText(const ImportedBooks& books, const Company& company, std::ostream& out);

}  // namespace orbeck::import

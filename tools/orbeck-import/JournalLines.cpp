// A transaction's postings as host journal lines, with the consumption-tax pairing.
#include <algorithm>

#include "tools/orbeck-import/HostDataText.h"

namespace orbeck::import {
namespace {

// The lowest-numbered account of a section: the one the loader gives the lines' tax to.
int32_t FirstOf(const ImportedBooks& books, const char* key) {
  int32_t best = -1;
  for (std::size_t i = 0; i < books.accounts.size(); ++i)
    if (std::string(books.accounts[i].section->key) == key &&
        (best < 0 || books.accounts[i].number < books.accounts[best].number))
      best = static_cast<int32_t>(i);
  return best;
}

// Pairs the one tax posting of a side (sign +1 debit, -1 credit) on `taxHost` with the one
// other posting of that side, when both are alone of their kind.
void PairTax(const ImportedBooks& books, std::vector<BookedPosting>& postings, int32_t taxHost, int sign) {
  if (taxHost < 0) return;
  int taxAt = -1, lineAt = -1, taxes = 0, lines = 0;
  for (std::size_t i = 0; i < postings.size(); ++i) {
    const BookedPosting& p = postings[i];
    if ((p.amount > 0 ? 1 : -1) != sign) continue;
    if (p.host == taxHost) {
      ++taxes;
      taxAt = static_cast<int>(i);
    } else if (!IsTaxSection(*books.accounts[p.host].section) && p.tax == 0) {
      ++lines;
      lineAt = static_cast<int>(i);
    } else {
      ++lines;  // a line with a tax of its own, or on the other tax account: not unambiguous
      lineAt = -1;
    }
  }
  if (taxes != 1 || lines != 1 || lineAt < 0) return;
  postings[lineAt].amount += postings[taxAt].amount;
  postings[lineAt].tax = postings[taxAt].amount;
  postings.erase(postings.begin() + taxAt);
}

LineSide SideOf(const ImportedBooks& books, const BookedPosting& p) {
  int64_t sign = p.amount > 0 ? 1 : -1;
  return LineSide{CodeOf(books, p.host, p.sub), sign * (p.amount - p.tax), sign * p.tax};
}

}  // namespace

int32_t CodeOf(const ImportedBooks& books, int32_t host, int32_t sub) {
  return books.accounts[host].number * 10000 + sub;
}

std::vector<HostLine> JournalLines(const ImportedBooks& books, const BookedTransaction& transaction) {
  std::vector<BookedPosting> postings(books.postings.begin() + transaction.first,
                                      books.postings.begin() + transaction.first + transaction.count);
  PairTax(books, postings, FirstOf(books, kTaxPaidKey), 1);
  PairTax(books, postings, FirstOf(books, kTaxReceivedKey), -1);
  std::vector<HostLine> lines;
  // Postings of one source row (CSV) stay together; other sources make one group.
  std::size_t start = 0;
  while (start < postings.size()) {
    std::size_t end = start + 1;
    while (end < postings.size() && postings[end].pair == postings[start].pair) ++end;
    int debits = 0, credits = 0;
    for (std::size_t i = start; i < end; ++i) (postings[i].amount > 0 ? debits : credits)++;
    if (debits == 1 && credits == 1) {
      HostLine line;
      for (std::size_t i = start; i < end; ++i)
        (postings[i].amount > 0 ? line.debit : line.credit) = SideOf(books, postings[i]);
      lines.push_back(line);
    } else {
      for (std::size_t i = start; i < end; ++i) {
        HostLine line;
        (postings[i].amount > 0 ? line.debit : line.credit) = SideOf(books, postings[i]);
        lines.push_back(line);
      }
    }
    start = end;
  }
  if (lines.size() > 1)
    for (HostLine& line : lines) line.counterKind = 34;
  return lines;
}

}  // namespace orbeck::import

// The ledger rows cost no heap allocation once the writer's buffers have grown: writing a
// ledger of many rows allocates exactly as often as writing one of a few. Global operator
// new is replaced in this test program to count.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "XmlTestSupport.h"
#include "runstate/EditionProfile.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Allocations while writing the ledger forms of one account with `rows` rows whose names
// and descriptions fill their fields (longer than any short-string buffer).
long AllocationsFor(std::size_t rows) {
  StatementLineList lines = {MakeLine(0x80880800, "現金", 3, 0, 1110000)};
  LedgerLineList ledger(rows);
  for (std::size_t i = 0; i < rows; ++i) {
    LedgerLine& row = ledger[i];
    row.accountCode = 1110000;
    row.lineNo = static_cast<int32_t>(i % 7 + 1);
    row.dateText = KeptText(ledger, "令和6年4月1日");
    row.subAccountName = KeptText(ledger, "【補助】取引先０００１２");
    row.counterAccountName = KeptText(ledger, i % 2 == 0 ? "（株）東邦機工　本社" : "［製］東邦機工");
    row.counterSubAccountName = KeptText(ledger, "取引先０００１２３４５");
    row.description = KeptText(ledger, "東邦機工 4月分 売上 & 返品 <伝票12345> 'A'");
    row.amount = -1234567890123LL * static_cast<int64_t>(i % 3);
    row.balance = 98765432109876LL;
  }
  WriterInputs inputs;
  ReadFailure failure;
  StatementWriter writer{kVelmora1, inputs, failure};
  inputs.statementLines = &lines;
  inputs.ledgerLines = &ledger;
  TempFolder folder;
  XmlElementWriter xml;
  EXPECT_TRUE(xml.Open(folder.Windows("ledger.xml")));
  const long before = allocations.load();
  EXPECT_EQ(1, writer.WriteLedgerForms(xml));
  const long used = allocations.load() - before;
  EXPECT_TRUE(xml.Close());
  return used;
}

TEST(LedgerAllocations, ManyRowsAllocateAsOftenAsAFew) {
  AllocationsFor(200);  // what is made once per process (the name markers' texts)
  // What is made once per file: its buffers, which grow to a block of a megabyte each, and
  // the thread that writes its blocks from the first full one on. Past that, rows are free.
  const long some = AllocationsFor(20000);
  EXPECT_EQ(some, AllocationsFor(120000)) << "allocations grow with the number of rows";
}

}  // namespace

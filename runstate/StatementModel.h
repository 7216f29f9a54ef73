// The engine's output records and their lists: one StatementLine per kept balance row and
// one LedgerLine per kept ledger posting. Amounts are ten-thousandths of a yen; names are
// code page 932, NUL-terminated within their fields; a ledger line's texts are kept by its
// list (LedgerTexts), at most as long as the fixed fields they came from.
#pragma once

#include <cstdint>
#include <new>
#include <vector>

#include "platform/BlockList.h"
#include "runstate/LedgerTexts.h"

struct StatementLine {
  int32_t accountCode = 0;       // account number * 10000 + sub-account number
  char officialName[31] = {};    // 正式名称, at most 30 bytes
  char altName[31] = {};         // second name, at most 30 bytes, may be empty
  int64_t openingAmount = 0;     // balance at the start of the chosen period
  int64_t periodAmount = 0;      // closingAmount - openingAmount
  int64_t closingAmount = 0;     // the amount the statements print
  int32_t accountCharacter = 0;  // 科目性格
  int16_t rowKind = 0;           // the host row's kind, sign-extended
};

struct LedgerLine {
  int32_t accountCode = 0;
  int32_t lineNo = 0;                // line within its journal entry, 1 = first
  LedgerText dateText;               // era form, e.g. 令和4年3月31日, at most 30 bytes
  LedgerText subAccountName;         // empty when the posting names the account itself
  LedgerText counterAccountName;     // or 諸口 (sundry)
  LedgerText counterSubAccountName;  // names at most 30 bytes
  LedgerText description;            // at most 60 bytes
  int64_t amount = 0;                // movement in the account's own direction
  int64_t balance = 0;               // running balance after this posting
};

// Ordered lists of owned records, in insertion order; the element count is size().
using StatementLineList = std::vector<StatementLine>;

// A run can hold millions of ledger lines: they live in large blocks with their texts.
class LedgerLineList : public BlockList<LedgerLine> {
 public:
  using BlockList<LedgerLine>::BlockList;
  void clear() {
    BlockList<LedgerLine>::clear();
    texts.clear();
  }
  LedgerTexts texts;
};

// Appends a record; false when it cannot be allocated.
template <typename List, typename Record>
bool AppendRecord(List& list, const Record& record) {
  try {
    list.push_back(record);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The engine's output records and their lists: one StatementLine per kept balance row and
// one LedgerLine per kept ledger posting. Amounts are ten-thousandths of a yen; names are
// code page 932, NUL-terminated within their fields.
#pragma once

#include <cstdint>
#include <new>
#include <vector>

#include "runstate/BlockList.h"

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
  char dateText[31] = {};            // era form, e.g. 令和4年3月31日
  char subAccountName[31] = {};      // empty when the posting names the account itself
  char counterAccountName[31] = {};  // or 諸口 (sundry)
  char counterSubAccountName[31] = {};
  char description[61] = {};
  int64_t amount = 0;   // movement in the account's own direction
  int64_t balance = 0;  // running balance after this posting
};

// Ordered lists of owned records, in insertion order; the element count is size().
using StatementLineList = std::vector<StatementLine>;
using LedgerLineList = BlockList<LedgerLine>;  // a run can hold millions

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

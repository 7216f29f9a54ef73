// One account number's ledger as the ledger cursor reads it from the ledger table: the
// request that names it, the query, and the row loop shared by the cursor's own read and
// the read-ahead on the second connection, so that both take exactly the same postings.
#pragma once

#include <atomic>
#include <cstdint>

#include "orbeck/MonthCodeFind.h"
#include "orbeck/TextField.h"
#include "platform/BlockList.h"
#include "runtime/Records.h"

namespace orbeck {

using PostingBuffer = BlockList<StMOTOCHOINFO>;

// How a row of the ledger table reaches its account number (see schema.sql).
inline constexpr std::int64_t kReachDebit = 1;
inline constexpr std::int64_t kReachCredit = 2;
inline constexpr std::int64_t kReachPaidTax = 3;
inline constexpr std::int64_t kReachReceivedTax = 4;

inline constexpr const char* kLedgerRowsSql =
    "SELECT journal_id, line_no, date, reach, adjustment, counter_kind, debit_code, debit_amount, "
    "debit_tax, "
    "credit_code, credit_amount, credit_tax, description FROM postings "
    "WHERE data_ord = ?1 AND account_no = ?2 AND date BETWEEN ?3 AND ?4";

struct LedgerRequest {
  std::int64_t dataOrd = -1;
  std::int32_t accountNo = 0;
  std::int32_t startDate = 0;
  std::int32_t endDate = 0;
  MonthCodeFind find;
  std::int64_t taxReach = 0;  // the tax reach a tax account takes as well; 0 for others
  std::int32_t periodStart = 0;
  int closingDay = 31;
  bool operator==(const LedgerRequest&) const = default;
  // The same ledger but for the account number.
  bool SameButAccount(const LedgerRequest& other) const {
    LedgerRequest moved = other;
    moved.accountNo = accountNo;
    moved.taxReach = taxReach;
    return moved == *this;
  }
};

// The tax reach of an account of this character (仮払消費税 takes debit taxes, 仮受消費税
// credit taxes).
inline std::int64_t TaxReachOf(std::uint32_t accountCharacter) {
  constexpr std::uint32_t kPaidTaxCharacter = 0x80880810;
  constexpr std::uint32_t kReceivedTaxCharacter = 0x80484010;
  return accountCharacter == kPaidTaxCharacter       ? kReachPaidTax
         : accountCharacter == kReceivedTaxCharacter ? kReachReceivedTax
                                                     : 0;
}

// Appends the rows of `query` (kLedgerRowsSql, bound to request) to postings; false when the
// query failed or `stop` was raised. Query has Step(), Failed(), Int(column) and Blob(column).
template <typename Query>
bool ReadLedgerRows(Query& query, const LedgerRequest& request, PostingBuffer& postings,
                    const std::atomic<bool>* stop = nullptr) {
  constexpr std::uint8_t kSideCredit = 1;
  constexpr std::uint8_t kSideDebit = 2;
  constexpr std::uint8_t kSideBoth = 3;
  const std::uint8_t taxSide = request.taxReach == kReachPaidTax ? kSideDebit : kSideCredit;
  // The rows of one journal line lie side by side (reach is the last key column): the line
  // is taken once, when any of its rows reaches this ledger.
  std::int32_t lastJournal = 0;
  std::int32_t lastLine = 0;
  bool any = false;
  while (query.Step()) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) return false;
    const std::int64_t reach = query.Int(3);
    if (reach != kReachDebit && reach != kReachCredit && reach != request.taxReach) continue;
    const auto journalId = static_cast<std::int32_t>(query.Int(0));
    const auto lineNo = static_cast<std::int32_t>(query.Int(1));
    if (any && journalId == lastJournal && lineNo == lastLine) continue;
    const auto date = static_cast<std::int32_t>(query.Int(2));
    if (!request.find.Matches(
            MonthCodeOf(date, static_cast<int>(query.Int(4)), request.periodStart, request.closingDay)))
      continue;
    StMOTOCHOINFO posting{};
    posting.journalId = lastJournal = journalId;
    posting.lineNo = lastLine = lineNo;
    any = true;
    posting.date = date;
    posting.counterKind = static_cast<std::uint8_t>(query.Int(5));
    posting.debitCode = static_cast<std::int32_t>(query.Int(6));
    posting.debitAmount = query.Int(7);
    posting.debitTax = query.Int(8);
    posting.creditCode = static_cast<std::int32_t>(query.Int(9));
    posting.creditAmount = query.Int(10);
    posting.creditTax = query.Int(11);
    FillNameField(posting.description, sizeof posting.description, query.Blob(12));
    const bool onDebit = posting.debitCode / 10000 == request.accountNo;
    const bool onCredit = posting.creditCode / 10000 == request.accountNo;
    posting.side = onDebit && onCredit ? kSideBoth : onDebit ? kSideDebit : onCredit ? kSideCredit : taxSide;
    postings.push_back(posting);
  }
  return !query.Failed();
}

}  // namespace orbeck

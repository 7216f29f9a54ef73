// A line reaches the account numbers of its debit and credit sides, and under a debit (or
// credit) tax every account number that holds an account of the paid (or received)
// consumption-tax character.
#include "orbeck/store/PostingRows.h"

#include <algorithm>
#include <tuple>

namespace orbeck::store {
namespace {

constexpr uint32_t kPaidTaxCharacter = 0x80880810;      // 仮払消費税: reached by debit taxes
constexpr uint32_t kReceivedTaxCharacter = 0x80484010;  // 仮受消費税: reached by credit taxes

std::vector<int32_t> AccountNumbersOf(const DataRecord& data, uint32_t character) {
  std::vector<int32_t> numbers;
  for (const AccountRecord& account : data.accounts) {
    if (account.character == character) numbers.push_back(account.code / 10000);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace

std::vector<PostingRow> PostingRowsOf(const DataRecord& data) {
  const std::vector<int32_t> paidTax = AccountNumbersOf(data, kPaidTaxCharacter);
  const std::vector<int32_t> receivedTax = AccountNumbersOf(data, kReceivedTaxCharacter);
  std::vector<PostingRow> rows;
  std::size_t count = 0;
  for (const JournalRecord& journal : data.journals) {
    for (const JournalLineRecord& line : journal.lines) {
      count += (line.debitCode != 0 ? 1 : 0) + (line.creditCode != 0 ? 1 : 0) +
               (line.debitTax != 0 ? paidTax.size() : 0) + (line.creditTax != 0 ? receivedTax.size() : 0);
    }
  }
  rows.reserve(count);
  for (const JournalRecord& journal : data.journals) {
    for (std::size_t k = 0; k < journal.lines.size(); ++k) {
      const JournalLineRecord& line = journal.lines[k];
      auto add = [&](int32_t accountNo, int32_t reach) {
        rows.push_back({accountNo, journal.date, journal.id, static_cast<int32_t>(k + 1), reach,
                        journal.adjustment, &line});
      };
      if (line.debitCode != 0) add(line.debitCode / 10000, 1);
      if (line.creditCode != 0) add(line.creditCode / 10000, 2);
      if (line.debitTax != 0) {
        for (int32_t number : paidTax) add(number, 3);
      }
      if (line.creditTax != 0) {
        for (int32_t number : receivedTax) add(number, 4);
      }
    }
  }
  std::sort(rows.begin(), rows.end(), [](const PostingRow& a, const PostingRow& b) {
    return std::tie(a.accountNo, a.date, a.journalId, a.lineNo, a.reach) <
           std::tie(b.accountNo, b.date, b.journalId, b.lineNo, b.reach);
  });
  return rows;
}

}  // namespace orbeck::store

// Sum derivation: own movements first (opening, journals), then totals in depth-first order.
#include "orbeck/store/SumDerivation.h"

#include <map>
#include <vector>

namespace orbeck::store {
namespace {

constexpr uint32_t kInputTaxCharacter = 0x80880810;   // 仮払消費税
constexpr uint32_t kOutputTaxCharacter = 0x80484010;  // 仮受消費税

// Accounting month of a date as a running month number (year * 12 + month - 1).
int AccountingMonth(int32_t date, int closingDay) {
  int year = date / 10000;
  int month = date / 100 % 100;
  int day = date % 100;
  int running = year * 12 + month - 1;
  return day > closingDay ? running + 1 : running;
}

class Deriver {
 public:
  Deriver(DataRecord& data, const std::string& dataPointer) : data_(data), pointer_(dataPointer) {
    for (std::size_t i = 0; i < data.accounts.size(); ++i) index_[data.accounts[i].code] = i;
  }

  bool Run(std::string& error) {
    std::vector<BalanceSums> own(data_.accounts.size());
    if (!AddOpenings(own) || !AddJournals(own)) {
      error = error_;
      return false;
    }
    own_ = std::move(own);
    state_.assign(data_.accounts.size(), State::kOpen);
    for (std::size_t i = 0; i < data_.accounts.size(); ++i) {
      if (data_.accounts[i].balanceRow && !Visit(i)) {
        error = error_;
        return false;
      }
    }
    return true;
  }

 private:
  enum class State { kOpen, kVisiting, kDone };

  DataRecord& data_;
  std::string pointer_;
  std::map<int32_t, std::size_t> index_;
  std::vector<BalanceSums> own_;
  std::vector<State> state_;
  std::string error_;

  bool Fail(const std::string& where, const std::string& message) {
    error_ = pointer_ + where + ": " + message;
    return false;
  }

  static bool Add(int64_t& target, int64_t value) { return !__builtin_add_overflow(target, value, &target); }

  // The balance row that a journal side on `code` counts for: the parent of a sub-account.
  const std::size_t* RowOf(int32_t code) const {
    auto it = index_.find(code - code % 10000);
    if (it == index_.end() || !data_.accounts[it->second].balanceRow) return nullptr;
    return &it->second;
  }

  const std::size_t* FirstRowWithCharacter(uint32_t character) const {
    for (const AccountRecord& acc : data_.accounts) {
      if (acc.balanceRow && acc.character == character) return &index_.at(acc.code);
    }
    return nullptr;
  }

  bool AddOpenings(std::vector<BalanceSums>& own) {
    for (std::size_t i = 0; i < data_.accounts.size(); ++i) {
      const AccountRecord& acc = data_.accounts[i];
      if (!acc.opening) continue;
      int64_t opening = *acc.opening;
      int side = kCredit;
      int64_t value = opening;
      if (acc.debitNature == 1) {
        // A negative debit balance is a credit balance; its magnitude goes to the credit side
        // so that debit minus credit is still the opening.
        side = opening > 0 ? kDebit : kCredit;
        if (opening < 0 && __builtin_sub_overflow(int64_t{0}, opening, &value)) {
          return Fail("/accounts/" + std::to_string(i) + "/opening", "opening does not fit");
        }
      }
      own[i].At(kSetExcluded, side, 0) = value;
      own[i].At(kSetIncluded, side, 0) = value;
    }
    return true;
  }

  bool AddJournals(std::vector<BalanceSums>& own) {
    const std::size_t* inputTax = FirstRowWithCharacter(kInputTaxCharacter);
    const std::size_t* outputTax = FirstRowWithCharacter(kOutputTaxCharacter);
    for (std::size_t j = 0; j < data_.journals.size(); ++j) {
      const JournalRecord& journal = data_.journals[j];
      std::string journalPtr = "/journals/" + std::to_string(j);
      int entry = journal.adjustment != 0 ? journal.adjustment : FiscalMonthOfDate(data_, journal.date);
      if (entry == 0) return Fail(journalPtr + "/date", "lies in no fiscal month 1 to 12 of the period");
      for (std::size_t k = 0; k < journal.lines.size(); ++k) {
        const JournalLineRecord& line = journal.lines[k];
        std::string linePtr = journalPtr + "/lines/" + std::to_string(k);
        if (!AddSide(own, line.debitCode, kDebit, line.debitAmount, line.debitTax, inputTax, entry) ||
            !AddSide(own, line.creditCode, kCredit, line.creditAmount, line.creditTax, outputTax, entry)) {
          return Fail(linePtr, "a balance sum overflows 64-bit ten-thousandths of a yen");
        }
      }
    }
    return true;
  }

  bool AddSide(std::vector<BalanceSums>& own, int32_t code, int side, int64_t amount, int64_t tax,
               const std::size_t* taxRow, int entry) {
    if (code == 0) return true;
    const std::size_t* row = RowOf(code);
    if (row != nullptr) {
      int64_t included = amount;
      if (!Add(own[*row].At(kSetExcluded, side, entry), amount) || !Add(included, tax) ||
          !Add(own[*row].At(kSetIncluded, side, entry), included)) {
        return false;
      }
    }
    return taxRow == nullptr || Add(own[*taxRow].At(kSetExcluded, side, entry), tax);
  }

  // Members are walked even under explicit sums, so that every cycle is reported.
  bool Visit(std::size_t i) {
    if (state_[i] == State::kDone) return true;
    AccountRecord& acc = data_.accounts[i];
    state_[i] = State::kVisiting;
    acc.sums = acc.explicitSums ? *acc.explicitSums : own_[i];
    for (std::size_t k = 0; k < acc.members.size(); ++k) {
      std::size_t m = index_.at(acc.members[k]);
      std::string memberPtr = "/accounts/" + std::to_string(i) + "/members/" + std::to_string(k);
      if (state_[m] == State::kVisiting) return Fail(memberPtr, "members form a cycle");
      if (!Visit(m)) return false;
      if (acc.explicitSums) continue;
      for (int set = 0; set < 2; ++set) {
        for (int side = 0; side < 2; ++side) {
          for (int e = 0; e < kEntries; ++e) {
            if (!Add(acc.sums.At(set, side, e), data_.accounts[m].sums.At(set, side, e))) {
              return Fail(memberPtr, "the total overflows 64-bit ten-thousandths of a yen");
            }
          }
        }
      }
    }
    state_[i] = State::kDone;
    return true;
  }
};

}  // namespace

int FiscalMonthOfDate(const DataRecord& data, int32_t date) {
  if (date < data.periodStart || date > data.periodEnd) return 0;
  int index = AccountingMonth(date, data.closingDay) - AccountingMonth(data.periodStart, data.closingDay) + 1;
  return index >= 1 && index <= 12 ? index : 0;
}

int DeriveSums(DataRecord& data, const std::string& dataPointer, std::string& error) {
  Deriver deriver(data, dataPointer);
  return deriver.Run(error) ? 1 : 0;
}

}  // namespace orbeck::store

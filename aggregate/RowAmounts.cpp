// Opening and closing amounts of a balance row. Every sum is checked: an amount beyond
// 10^14 yen is reported, never wrapped.
#include "aggregate/RowAmounts.h"

#include <algorithm>

#include "runstate/AccountCharacter.h"

namespace {

struct SideSums {
  FixedAmount debit;
  FixedAmount credit;
};

// Entries of the packed record are read by value: no reference to a packed member is taken.
int64_t DebitEntry(const StKAMOKUSUMINFO& row, int amountBasis, int entry) {
  return amountBasis == 1 ? row.debit2[entry] : row.debit1[entry];
}

int64_t CreditEntry(const StKAMOKUSUMINFO& row, int amountBasis, int entry) {
  return amountBasis == 1 ? row.credit2[entry] : row.credit1[entry];
}

bool AddEntry(const StKAMOKUSUMINFO& row, int amountBasis, int entry, SideSums& sums) {
  return FixedAmount::CheckedAdd(sums.debit, FixedAmount::FromRaw(DebitEntry(row, amountBasis, entry)),
                                 sums.debit) &&
         FixedAmount::CheckedAdd(sums.credit, FixedAmount::FromRaw(CreditEntry(row, amountBasis, entry)),
                                 sums.credit);
}

bool AddEntries(const StKAMOKUSUMINFO& row, int amountBasis, int first, int last, SideSums& sums) {
  for (int entry = std::max(first, 0); entry <= std::min(last, kSumEntries - 1); ++entry) {
    if (!AddEntry(row, amountBasis, entry, sums)) return false;
  }
  return true;
}

bool IsDebitNature(const StKAMOKUSUMINFO& row) { return row.debitNature == 1; }

// base + (own side) - (other side), each step checked.
bool Balance(const FixedAmount& base, const FixedAmount& increase, const FixedAmount& decrease,
             FixedAmount& out) {
  FixedAmount sum;
  if (!FixedAmount::CheckedAdd(base, increase, sum)) return false;
  return FixedAmount::CheckedAdd(sum, FixedAmount::FromRaw(0) - decrease, out);
}

}  // namespace

bool OpeningOf(const StKAMOKUSUMINFO& row, int amountBasis, const PeriodSelection& period,
               FixedAmount& opening) {
  SideSums sums;
  if (InGroup(row.accountCharacter, account_character::kBalanceSheet)) {
    // A carried balance: the opening entry and every month before the period.
    if (!AddEntries(row, amountBasis, 0, period.firstIndex - 1, sums)) return false;
  } else if (period.startsAtBeginning) {
    // An accrued amount: only the amounts before the data's introduction count.
    if (!AddEntry(row, amountBasis, 0, sums)) return false;
  }
  const FixedAmount zero;
  return IsDebitNature(row) ? Balance(zero, sums.debit, sums.credit, opening)
                            : Balance(zero, sums.credit, sums.debit, opening);
}

bool ComputeRowAmounts(const StKAMOKUSUMINFO& row, int amountBasis, const PeriodSelection& period,
                       RowAmounts& amounts) {
  if (!OpeningOf(row, amountBasis, period, amounts.opening)) return false;
  SideSums sums;
  if (!AddEntries(row, amountBasis, period.firstIndex, period.lastIndex, sums)) return false;
  if (period.closingAdjustment && !AddEntry(row, amountBasis, 13, sums)) return false;
  if (period.interimAdjustment && !AddEntry(row, amountBasis, 14, sums)) return false;
  return IsDebitNature(row) ? Balance(amounts.opening, sums.debit, sums.credit, amounts.closing)
                            : Balance(amounts.opening, sums.credit, sums.debit, amounts.closing);
}

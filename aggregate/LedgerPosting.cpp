// One ledger posting's amounts, movement and counter codes. Sums are checked so that an
// out-of-range posting fails the pass instead of wrapping.
#include "aggregate/LedgerPosting.h"

namespace {

constexpr uint8_t kSundryOnCreditSide = 33;
constexpr uint8_t kSundryOnOtherSide = 18;
constexpr uint8_t kCompoundEntry = 34;

bool Subtract(const FixedAmount& a, const FixedAmount& b, FixedAmount& out) {
  return FixedAmount::CheckedAdd(a, FixedAmount() - b, out);
}

}  // namespace

bool IsForeignPosting(const StMOTOCHOINFO& posting, int32_t accountNo) {
  return accountNo != posting.debitCode / 10000 && accountNo != posting.creditCode / 10000;
}

bool ComputePostingAmounts(const StMOTOCHOINFO& posting, int amountBasis, bool taxAccount, int32_t accountNo,
                           bool debitNature, PostingAmounts& amounts) {
  const FixedAmount debitAmount = FixedAmount::FromRaw(posting.debitAmount);
  const FixedAmount debitTax = FixedAmount::FromRaw(posting.debitTax);
  const FixedAmount creditAmount = FixedAmount::FromRaw(posting.creditAmount);
  const FixedAmount creditTax = FixedAmount::FromRaw(posting.creditTax);

  if (!FixedAmount::CheckedAdd(debitAmount, debitTax, amounts.debitTotal) ||
      !FixedAmount::CheckedAdd(creditAmount, creditTax, amounts.creditTotal)) {
    return false;
  }
  if (amountBasis == 1) {
    amounts.debit = amounts.debitTotal;
    amounts.credit = amounts.creditTotal;
  } else if (taxAccount && IsForeignPosting(posting, accountNo)) {
    // A tax account shown on another account's posting carries only the tax.
    amounts.debit = debitTax;
    amounts.credit = creditTax;
  } else {
    amounts.debit = debitAmount;
    amounts.credit = creditAmount;
  }

  const FixedAmount zero;
  const FixedAmount& increase = debitNature ? amounts.debit : amounts.credit;
  const FixedAmount& decrease = debitNature ? amounts.credit : amounts.debit;
  const bool increaseSide = debitNature ? posting.side == kDebitSide : posting.side == kCreditSide;
  const bool decreaseSide = debitNature ? posting.side == kCreditSide : posting.side == kDebitSide;
  if (increaseSide) {
    amounts.movement = increase;
    return true;
  }
  if (decreaseSide) return Subtract(zero, decrease, amounts.movement);
  return Subtract(increase, decrease, amounts.movement);
}

int32_t OwnCodeOf(const StMOTOCHOINFO& posting) {
  return posting.side == kCreditSide ? posting.creditCode : posting.debitCode;
}

int32_t CounterCodeOf(const StMOTOCHOINFO& posting) {
  return posting.side == kCreditSide ? posting.debitCode : posting.creditCode;
}

CounterDecision DecideCounter(const StMOTOCHOINFO& posting, const PostingAmounts& amounts) {
  const uint8_t kind = posting.counterKind;
  const uint8_t sundryKind = posting.side == kCreditSide ? kSundryOnCreditSide : kSundryOnOtherSide;
  if (kind == sundryKind) return CounterDecision::Sundry;
  if (kind != kCompoundEntry) return CounterDecision::Counter;
  if (amounts.debitTotal != amounts.creditTotal) return CounterDecision::Sundry;
  if (posting.lineNo == 1) return CounterDecision::Counter;
  return CounterDecision::NeedsJournal;
}

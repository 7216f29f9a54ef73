// The running balances of each ledger account, row by row.
#include "tools/velmora-inspect/LedgerRules.h"

namespace inspect {

void LedgerRules::BeginForm(const LedgerForm& form) {
  formPath_ = "/REPORT/DATA/HJ00780S/HJ00780S01[" + PathLabel(form.account) + "]";
  running_ = ParseAmount(form.opening);
  corrected_.reset();
  rows_ = 0;
}

void LedgerRules::Row(const LedgerForm&, const LedgerRow& row) {
  ++rows_;
  const auto amount = ParseAmount(row.amount);
  const auto balance = ParseAmount(row.balance);
  std::optional<std::int64_t> computed;
  if (running_ && amount) computed = Plus(*running_, *amount);
  // After a balance that did not follow, the next one may follow from the balance that
  // should have stood there: then only that one balance was wrong, and it was reported.
  const bool followsCorrected = corrected_ && amount && balance && *balance == Plus(*corrected_, *amount);
  if (computed && balance && !followsCorrected) {
    // One movement and two balances, each cut to whole yen: at most one yen apart.
    AddMismatch(findings_, row.balanceLine,
                formPath_ + "/HJ00780S02[" + std::to_string(rows_) + "]/HJ00780S0120",
                "running balance against the balance before plus the movement", *balance, *computed, 1);
  }
  corrected_ = computed && balance && *computed != *balance && !followsCorrected ? computed : std::nullopt;
  running_ = balance;
}

void LedgerRules::EndForm(const LedgerForm& form) {
  const auto closing = ParseAmount(form.closing);
  if (!closing || !running_ || *closing == *running_) return;
  // The host leaves some postings out of the ledger (against excluded accounts, or counted
  // by their tax only), so the last running balance may legitimately miss the closing one.
  findings_.push_back({Severity::Warning, form.closingLine, formPath_ + "/HJ00780S0040",
                       "closing balance " + WithSeparators(*closing) +
                           " written, the opening balance and the postings come to " +
                           WithSeparators(*running_) + " (difference " +
                           WithSeparators(Minus(*closing, *running_)) +
                           "; postings the ledger leaves out make such a difference)"});
}

}  // namespace inspect

// The general ledger's rules, applied to its rows as they stream by: every running balance
// is the one before (the opening balance for the first posting) plus the posting's
// movement, which is an error when it fails by more than the yen that cutting fractions can
// lose; the last running balance equals the closing balance, only a warning, since the host
// leaves some postings out of the ledger.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Report.h"

namespace inspect {

class LedgerRules : public LedgerSink {
 public:
  void BeginForm(const LedgerForm& form) override;
  void Row(const LedgerForm& form, const LedgerRow& row) override;
  void EndForm(const LedgerForm& form) override;

  std::vector<Finding>& Findings() { return findings_; }

 private:
  std::vector<Finding> findings_;
  // The ledger account being read.
  std::optional<std::int64_t> running_;
  std::optional<std::int64_t> corrected_;  // the balance that should have stood on the row before
  long rows_ = 0;
  std::string formPath_;
};

}  // namespace inspect

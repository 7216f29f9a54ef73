// The rules a statement document must keep beyond its schema: totals are the sums of their
// parts, the balance sheet balances, the statements agree with one another and every
// running balance of the general ledger follows from the line before. A rule that every
// correct document keeps reports an error; one that a correct document may break (a period
// that does not start at the first month, postings the host leaves out of the ledger, amounts
// with fractions of a yen cut to whole yen) reports a warning.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Report.h"

namespace inspect {

class Checker : public LedgerSink {
 public:
  // The statements, on the tree read before the ledger.
  void CheckStatements(const Element& root);

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

// check: reads the document with the schema and runs every rule; the findings in line order.
std::vector<Finding> CheckDocument(const std::string& path);

}  // namespace inspect

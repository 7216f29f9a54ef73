// The check's one pass over the document.
#include "tools/velmora-inspect/Checker.h"

#include <algorithm>

#include "tools/velmora-inspect/DocumentReader.h"
#include "tools/velmora-inspect/LedgerRules.h"
#include "tools/velmora-inspect/StatementRules.h"

namespace inspect {

std::vector<Finding> CheckDocument(const Source& source) {
  LedgerRules ledger;
  ReadResult read = ReadDocument(source, ReadOptions{}, &ledger);
  std::vector<Finding> findings = std::move(read.findings);
  if (read.complete) {
    CheckStatements(read.root, findings);
    findings.insert(findings.end(), ledger.Findings().begin(), ledger.Findings().end());
  }
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return findings;
}

}  // namespace inspect

// The engine object of one run: reads the host's balance rows of the chosen months into
// StatementLines and, with general-ledger information, the postings into LedgerLines.
// It also carries the saved-notes reads (its SavedNotesReader base).
#pragma once

#include <cstdint>
#include <memory>

#include "aggregate/StatementModel.h"
#include "app/OrbeckRuntime/OrbeckRuntime.h"
#include "app/SavedNotesReader.h"

class ProgressWindow;

class StatementAggregator : public SavedNotesReader {
public:
  StatementAggregator();
  virtual ~StatementAggregator();

  // Wiring set by the run driver; none of it is owned.
  ProgressWindow* progress = nullptr;
  StatementLineList* statementLines = nullptr;
  LedgerLineList* ledgerLines = nullptr;
  int withGeneralLedger = 0;

  // 1 when all rows (and, with general-ledger information, all postings) were read; 0 on failure.
  int Aggregate(int amountBasis, const StFINDINFO& periodFind, const StDATAINFO& profile);
  // Position reached on the 0 to 10000 progress scale.
  double ProgressPos() const { return progressPos_; }

  // The ledger pass for one balance row; 1 when skipped or all postings read, 0 on failure.
  int CollectLedger(int amountBasis, const StDATAINFO& profile, const StFINDINFO& periodFind,
                    const StKAMOKUSUMINFO& row);
  void PrepareLedgerView(int32_t accountCode, const StFINDINFO& periodFind);
  // 1 when the account master was found and copied into master.
  int LookupAccount(int32_t accountCode, StKAMOKUINFO* master);

private:
  double progressPos_ = 0.0;
  double progressStep_ = 1.0;
  std::unique_ptr<ClRuleKamoku> balanceRule_;
  std::unique_ptr<ClRuleMotocho> ledgerRule_;
  StMOTOCHORANGE ledgerRange_{};
  StMOTOCHOHYOJIINFO ledgerView_{};
};

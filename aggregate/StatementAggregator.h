// The engine object of one run: reads the host's balance rows of the chosen months into
// StatementLines and, with general-ledger information, the postings into LedgerLines.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "aggregate/FixedAmount.h"
#include "aggregate/PeriodSelection.h"
#include "runstate/ReadFailure.h"
#include "runstate/StatementModel.h"
#include "runtime/OrbeckRuntime.h"

class ProgressWindow;

class StatementAggregator {
 public:
  // None of it is owned: the lists it appends to (the ledger list only with
  // withGeneralLedger), the progress window it moves (none: no progress shown) and the
  // run's failure record, where every read that fails is noted.
  StatementAggregator(StatementLineList& statementLines, LedgerLineList& ledgerLines, bool withGeneralLedger,
                      ProgressWindow* progress, ReadFailure& failure);
  ~StatementAggregator();
  StatementAggregator(const StatementAggregator&) = delete;
  StatementAggregator& operator=(const StatementAggregator&) = delete;

  // 1 when all rows (and, with general-ledger information, all postings) were read; 0 on failure.
  int Aggregate(int amountBasis, const StFINDINFO& periodFind, const StDATAINFO& profile);
  // Position reached on the 0 to 10000 progress scale.
  double ProgressPos() const { return progressPos_; }

  // The ledger pass for one balance row; 1 when skipped or all postings read, 0 on failure.
  int CollectLedger(int amountBasis, const StDATAINFO& profile, const StFINDINFO& periodFind,
                    const StKAMOKUSUMINFO& row);
  void PrepareLedgerView(int32_t accountCode, const StFINDINFO& periodFind);

 private:
  // 1 when the account master was found and copied into master (LedgerAccountOf keeps what
  // the ledger takes of it).
  int LookupAccount(int32_t accountCode, StKAMOKUINFO* master);
  // Fails the aggregation after a balance cursor status, noting a read failure.
  int BalanceReadFailed(long status);
  // Fails the ledger pass after a ledger cursor status, noting a read failure.
  int LedgerReadFailed(long status);
  // Moves the overall bar over the positions from first to last, truncated to integers.
  void Step(double first, double last);
  // Creates and attaches the balance cursor; false when it cannot be created.
  bool AttachBalanceRule(const StDATAINFO& profile);
  // Appends the row's StatementLine (kind 1 rows are not stored) and remembers the carried
  // net-assets opening; false on an out-of-range sum or a failed allocation.
  bool ProcessRow(const StKAMOKUSUMINFO& row, int amountBasis, const PeriodSelection& period,
                  FixedAmount& carryOver);
  // Adds carryOver to the last 差引損益 line that receives it; false on an out-of-range sum.
  bool ApplyCarryOver(const FixedAmount& carryOver);
  bool AttachLedgerRule(const StDATAINFO& profile);
  // What a ledger line takes of an account master: its character and its name as the
  // ledger list keeps it (both empty for an account the master lacks).
  struct LedgerAccount {
    int32_t accountCharacter = 0;
    LedgerText name;
  };
  // The account's LedgerAccount, looked up once per aggregation: a million postings name a
  // few thousand accounts. False when its name finds no room or its master cannot be read
  // (noted in the failure record).
  bool LedgerAccountOf(int32_t accountCode, LedgerAccount& account);
  // The date's era text as the ledger list keeps it, formatted once per aggregation; false
  // when it finds no room or the era master cannot be read (noted in the failure record).
  bool LedgerDateOf(int32_t date, LedgerText& kept);
  // Sums the journal lines before the posting's own line into unbalanced (the two sides
  // differ); false when the journal cursor cannot be created or a line cannot be read.
  bool JournalBeforeLineUnbalanced(const StDATAINFO& profile, const StMOTOCHOINFO& posting, bool& unbalanced);

  StatementLineList& statementLines_;
  LedgerLineList& ledgerLines_;
  const bool withGeneralLedger_;
  ProgressWindow* const progress_;
  ReadFailure& failure_;
  double progressPos_ = 0.0;
  double progressStep_ = 1.0;
  std::unique_ptr<ClRuleKamoku> balanceRule_;
  std::unique_ptr<ClRuleMotocho> ledgerRule_;
  StMOTOCHORANGE ledgerRange_{};
  StMOTOCHOHYOJIINFO ledgerView_{};
  // By full account code and by date; their texts live in the ledger list's texts, so they
  // are emptied whenever an aggregation starts (an era added between runs is then seen).
  std::unordered_map<int32_t, LedgerAccount> ledgerAccounts_;
  std::unordered_map<int32_t, LedgerText> ledgerDates_;  // by yyyymmdd
  LedgerText sundryName_;
};

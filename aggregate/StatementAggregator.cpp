// Balance aggregation: one pass over the host's balance cursor, one StatementLine per kept
// row, the ledger pass per row when general-ledger information is wanted, and the overall
// progress bar up to the writer's starting position.
#include "aggregate/StatementAggregator.h"

#include <cstring>
#include <new>
#include <string_view>

#include "aggregate/RowAmounts.h"
#include "platform/Cp932.h"
#include "runstate/AccountCharacter.h"
#include "runstate/ProgressWindow.h"

namespace {

constexpr size_t kHostNameBytes = 30;

// The host's name fields are filled to their width without a NUL.
void CopyName(char (&dst)[31], const char* field) {
  platform::cp932::BoundedCopy(dst, sizeof dst, std::string_view(field, strnlen(field, kHostNameBytes)));
}

}  // namespace

StatementAggregator::StatementAggregator(StatementLineList& statementLines, LedgerLineList& ledgerLines,
                                         bool withGeneralLedger, ProgressWindow* progress,
                                         ReadFailure& failure)
    : statementLines_(statementLines),
      ledgerLines_(ledgerLines),
      withGeneralLedger_(withGeneralLedger),
      progress_(progress),
      failure_(failure) {
  ledgerView_.range = &ledgerRange_;
}

StatementAggregator::~StatementAggregator() {
  ledgerRule_.reset();
  balanceRule_.reset();
}

int StatementAggregator::BalanceReadFailed(long status) {
  if (IsReadFailure(status)) failure_.NoteHost(SJ("残高"));
  return 0;
}

void StatementAggregator::Step(double first, double last) {
  if (progress_ == nullptr) return;
  progress_->StepRange(static_cast<int16_t>(static_cast<int>(first)),
                       static_cast<int16_t>(static_cast<int>(last)));
}

bool StatementAggregator::AttachBalanceRule(const StDATAINFO& profile) {
  balanceRule_.reset(new (std::nothrow) ClRuleKamoku());
  if (!balanceRule_) return false;
  ClDataMgr& dataMgr = ClDataMgr::Inst();
  balanceRule_->AttachSetMgr(dataMgr.GetSetMgr());
  StDATAINFO selected{};
  auto* dataSet =
      dynamic_cast<ClSetData*>(dataMgr.GetSetObject(hostcode::kSetData, hostcode::kDataSetArgument));
  // The profile is the same record; it stands in should the data set not answer.
  const bool haveSelected = dataSet != nullptr && dataSet->GetSelectedInfo(&selected) == 0;
  const StDATAINFO& source = haveSelected ? selected : profile;
  balanceRule_->SetCurDataID(std::string(source.dataId, strnlen(source.dataId, sizeof source.dataId)));
  balanceRule_->AttachOptLink(ClLinkMgr::Inst().GetOptLink());
  return true;
}

bool StatementAggregator::ProcessRow(const StKAMOKUSUMINFO& row, int amountBasis,
                                     const PeriodSelection& period, FixedAmount& carryOver) {
  RowAmounts amounts;
  if (!ComputeRowAmounts(row, amountBasis, period, amounts)) return false;
  if (static_cast<uint32_t>(row.accountCharacter) == account_character::kCarriedNetAssets) {
    carryOver = amounts.opening;
  }
  if (row.kind == 1) return true;

  StatementLine line;
  line.accountCode = row.accountCode;
  CopyName(line.officialName, row.officialName);
  CopyName(line.altName, row.secondName);
  line.openingAmount = amounts.opening.Raw();
  line.periodAmount = (amounts.closing - amounts.opening).Raw();
  line.closingAmount = amounts.closing.Raw();
  line.accountCharacter = row.accountCharacter;
  line.rowKind = static_cast<int8_t>(row.kind);
  return AppendRecord(statementLines_, line);
}

bool StatementAggregator::ApplyCarryOver(const FixedAmount& carryOver) {
  StatementLine* receiver = nullptr;
  for (StatementLine& line : statementLines_) {
    if (static_cast<uint32_t>(line.accountCharacter) == account_character::kResultReceivingCarry) {
      receiver = &line;
    }
  }
  if (receiver == nullptr) return true;
  FixedAmount closing;
  if (!FixedAmount::CheckedAdd(FixedAmount::FromRaw(receiver->closingAmount), carryOver, closing))
    return false;
  receiver->closingAmount = closing.Raw();
  return true;
}

int StatementAggregator::Aggregate(int amountBasis, const StFINDINFO& periodFind, const StDATAINFO& profile) {
  const int z = withGeneralLedger_ ? 10 : 1;
  ledgerAccounts_.clear();
  ledgerDates_.clear();
  sundryName_ = LedgerText();
  Step(0, 1000 / z);
  if (!balanceRule_ && !AttachBalanceRule(profile)) return 0;
  Step(1000 / z, 3000 / z);

  balanceRule_->MoveReady(RuleKamokuSumBase_On, RuleKamokuSumBmn_Off, RuleKamokuSumDisp_All, &periodFind,
                          nullptr, RuleKamokuSumPast_Off);
  long rowCount = 0;
  if (const long status = balanceRule_->GetSumCount(&rowCount); status != 0) return BalanceReadFailed(status);

  Step(3000 / z, 4000 / z);
  progressPos_ = 4000 / z;
  if (rowCount != 0) progressStep_ = static_cast<double>(7000 / rowCount);

  if (const long status = balanceRule_->SetMovePos(0); status != 0) return BalanceReadFailed(status);
  const PeriodSelection period = SelectPeriod(periodFind, profile);
  FixedAmount carryOver;

  for (long i = 0; i < rowCount; ++i) {
    if (progress_ != nullptr) progress_->Pulse();
    StKAMOKUSUMINFO row{};
    const long status = balanceRule_->MoveNext(&row);
    if (status == kEndOfRows) break;
    if (status != 0) return BalanceReadFailed(status);
    if (!ProcessRow(row, amountBasis, period, carryOver)) return 0;
    if (withGeneralLedger_) {
      // Unlike the balance rows, a ledger that silently lacks postings would pass for
      // complete, so a failed ledger pass fails the aggregation.
      if (CollectLedger(amountBasis, profile, periodFind, row) == 0) return 0;
      if (progressPos_ < 7000) {
        Step(progressPos_, progressPos_ + progressStep_);
        progressPos_ += progressStep_;
      }
    }
  }

  if (!period.startsAtBeginning && !ApplyCarryOver(carryOver)) return 0;
  Step(progressPos_, progressPos_ + 1000);
  progressPos_ += 1000;

  balanceRule_->MoveFinish();
  balanceRule_.reset();
  return 1;
}

// The ledger pass of the aggregator: one account's postings of the chosen months, each
// with its movement in the account's own direction, running balance and counter account
// (a single account or 諸口), appended as LedgerLines.
#include <cstring>
#include <new>
#include <string_view>

#include "AccUty/CmnProcHpr.h"
#include "aggregate/LedgerPosting.h"
#include "aggregate/RowAmounts.h"
#include "aggregate/StatementAggregator.h"
#include "platform/Cp932.h"
#include "runstate/AccountCharacter.h"
#include "runstate/ProgressWindow.h"

namespace {

StFINDCOND LongCondition(int32_t item, int16_t comparison, int32_t value) {
  StFINDCOND cond{};
  cond.item = item;
  cond.comparison = comparison;
  cond.valueType = hostcode::kLongValue;
  cond.longValue = value;
  cond.link = hostcode::kLinkLast;
  return cond;
}

StFINDINFO LedgerFind() {
  StFINDINFO find{};
  find.cond[0] =
      LongCondition(hostcode::kFindMonthCode, hostcode::kNotEqual, hostcode::kMonthInterimAdjustment);
  return find;
}

StFINDINFO JournalFind(int32_t journalId) {
  StFINDINFO find{};
  find.cond[0] = LongCondition(hostcode::kFindJournalId, hostcode::kEqual, journalId);
  return find;
}

const StORDERINFO& LedgerOrder() {
  static const StORDERINFO order = [] {
    StORDERINFO keys{};
    for (std::size_t i = 0; i < hostcode::kLedgerOrderFields.size(); ++i) {
      keys.key[i].field = hostcode::kLedgerOrderFields[i];
    }
    keys.key[hostcode::kLedgerOrderFields.size() - 1].flag = hostcode::kLedgerOrderLastFlag;
    return keys;
  }();
  return order;
}

std::string DataIdOf(const StDATAINFO& profile) {
  return std::string(profile.dataId, strnlen(profile.dataId, sizeof profile.dataId));
}

template <typename Rule>
void AttachRule(Rule& rule, const StDATAINFO& profile) {
  rule.AttachSetMgr(ClDataMgr::Inst().GetSetMgr());
  rule.SetCurDataID(DataIdOf(profile));
  rule.AttachOptLink(ClLinkMgr::Inst().GetOptLink());
}

// A host field cut as the fixed fields of the ledger lines cut it (Capacity - 1 bytes, whole
// characters), kept by the list: names once, a description on its own.
template <std::size_t Capacity>
bool KeepField(LedgerTexts& texts, const char* field, std::size_t fieldBytes, bool shared, LedgerText& kept) {
  char cut[Capacity];
  const std::size_t bytes =
      platform::cp932::BoundedCopy(cut, Capacity, std::string_view(field, strnlen(field, fieldBytes)));
  const std::string_view text(cut, bytes);
  return shared ? texts.KeepShared(text, kept) : texts.Keep(text, kept);
}

}  // namespace

int StatementAggregator::LedgerReadFailed(long status) {
  if (IsReadFailure(status)) failure_.NoteHost(SJ("元帳"));
  return 0;
}

int StatementAggregator::LookupAccount(int32_t accountCode, StKAMOKUINFO* master) {
  StFINDINFO find{};
  // A bare account number names the account itself.
  find.cond[0] = LongCondition(hostcode::kFindAccountCode, hostcode::kEqual,
                               accountCode < 10000 ? accountCode * 10000 : accountCode);
  auto* accounts = dynamic_cast<ClSetKamoku*>(
      ClDataMgr::Inst().GetSetObject(hostcode::kSetAccounts, hostcode::kDataSetArgument));
  if (accounts == nullptr) return 0;
  long cursor = 0;
  long status = accounts->GetCursor(&cursor);
  if (status == 0) status = accounts->ReadyCursor(cursor, &find);
  if (status == 0) status = accounts->WalkFind(cursor, master);
  accounts->ReleaseCursor(cursor);
  // A name that could not be read is no account without a name.
  if (IsReadFailure(status)) failure_.NoteHost(SJ("勘定科目"));
  return status == 0 ? 1 : 0;
}

bool StatementAggregator::LedgerAccountOf(int32_t accountCode, LedgerAccount& account) {
  const int32_t code = accountCode < 10000 ? accountCode * 10000 : accountCode;
  if (const auto found = ledgerAccounts_.find(code); found != ledgerAccounts_.end()) {
    account = found->second;
    return true;
  }
  StKAMOKUINFO master{};
  LookupAccount(code, &master);
  if (failure_.Failed()) return false;
  LedgerAccount looked;
  looked.accountCharacter = master.accountCharacter;
  if (!KeepField<31>(ledgerLines_.texts, master.name, sizeof master.name, true, looked.name)) return false;
  try {
    ledgerAccounts_.emplace(code, looked);
  } catch (const std::bad_alloc&) {
    return false;
  }
  account = looked;
  return true;
}

bool StatementAggregator::LedgerDateOf(int32_t date, LedgerText& kept) {
  if (const auto found = ledgerDates_.find(date); found != ledgerDates_.end()) {
    kept = found->second;
    return true;
  }
  const DateFormatter formatter(0);
  const std::string text = formatter.FormatDate(date, 0);
  // An empty date would pass for "no era".
  if (formatter.ReadFailed()) {
    failure_.NoteHost(SJ("和暦"));
    return false;
  }
  char field[31];
  const std::size_t bytes = platform::cp932::BoundedCopy(field, sizeof field, text);
  if (!ledgerLines_.texts.KeepShared(std::string_view(field, bytes), kept)) return false;
  try {
    ledgerDates_.emplace(date, kept);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void StatementAggregator::PrepareLedgerView(int32_t accountCode, const StFINDINFO& periodFind) {
  const int32_t first = FindConditionValue(periodFind.cond[0]);
  const int32_t last = FindConditionValue(periodFind.cond[1]);
  ledgerView_ = StMOTOCHOHYOJIINFO{};
  ledgerView_.accountCode = accountCode;
  ledgerView_.adjustmentOnly = last == hostcode::kMonthInterimAdjustment ? 1 : 0;
  auto* dataSet = dynamic_cast<ClSetData*>(
      ClDataMgr::Inst().GetSetObject(hostcode::kSetData, hostcode::kDataSetArgument));
  ClAccPeriod* accPeriod = dataSet != nullptr ? dataSet->GetAccPeriod() : nullptr;
  if (accPeriod != nullptr) {
    long firstDay = 0;
    long lastDay = 0;
    accPeriod->GetPeriodByMonthKind(static_cast<short>(first), &firstDay, &lastDay);
    ledgerView_.startDate = static_cast<int32_t>(firstDay);
    accPeriod->GetPeriodByMonthKind(static_cast<short>(last), &firstDay, &lastDay);
    ledgerView_.endDate = static_cast<int32_t>(lastDay);
  }
  ledgerView_.range = &ledgerRange_;
}

bool StatementAggregator::AttachLedgerRule(const StDATAINFO& profile) {
  ledgerRule_.reset(new (std::nothrow) ClRuleMotocho());
  if (!ledgerRule_) return false;
  AttachRule(*ledgerRule_, profile);
  return true;
}

bool StatementAggregator::JournalBeforeLineUnbalanced(const StDATAINFO& profile, const StMOTOCHOINFO& posting,
                                                      bool& unbalanced) {
  std::unique_ptr<ClRuleShiwake> journal(new (std::nothrow) ClRuleShiwake());
  if (!journal) return false;
  AttachRule(*journal, profile);
  const StFINDINFO find = JournalFind(posting.journalId);
  journal->MoveReady(&find, &LedgerOrder(), nullptr, hostcode::kJournalLinesCursor);
  long lineCount = 0;

  long status = journal->GetSwkCount(&find, nullptr, &lineCount);
  // An unreadable line is no line of zeros: the sundry choice would rest on a guess.
  FixedAmount debitSum;
  FixedAmount creditSum;
  for (long i = 0; i < lineCount && !IsReadFailure(status); ++i) {
    StSWKTINFO line{};
    status = i == 0 ? journal->MoveFirst(&line) : journal->MoveNext(&line);
    if (IsReadFailure(status)) break;
    if (line.lineNo == posting.lineNo) break;
    debitSum += FixedAmount::FromRaw(line.debitAmount);
    debitSum += FixedAmount::FromRaw(line.debitTax);
    creditSum += FixedAmount::FromRaw(line.creditAmount);
    creditSum += FixedAmount::FromRaw(line.creditTax);
  }
  if (IsReadFailure(status)) {
    failure_.NoteHost(SJ("仕訳"));
    return false;
  }
  unbalanced = debitSum != creditSum;
  return true;
}

int StatementAggregator::CollectLedger(int amountBasis, const StDATAINFO& profile,
                                       const StFINDINFO& periodFind, const StKAMOKUSUMINFO& row) {
  if (row.kind != 0 || row.flagA == 1 || row.flagB == 1 || IsExcludedCharacter(row.accountCharacter))
    return 1;

  if (!ledgerRule_ && !AttachLedgerRule(profile)) return 0;
  PrepareLedgerView(row.accountCode, periodFind);
  const StFINDINFO find = LedgerFind();
  ledgerRule_->MoveReady(&find, &LedgerOrder(), &ledgerView_);
  long postingCount = 0;
  if (const long status = ledgerRule_->GetCount(&find, &ledgerView_, &postingCount); status != 0)
    return LedgerReadFailed(status);
  if (const long status = ledgerRule_->SetMovePos(0); status != 0) return LedgerReadFailed(status);

  const PeriodSelection period = SelectPeriod(periodFind, profile);
  FixedAmount balance;
  if (!OpeningOf(row, amountBasis, period, balance)) return 0;
  const auto character = static_cast<uint32_t>(row.accountCharacter);
  const bool taxAccount =
      character == account_character::kTaxReceived || character == account_character::kTaxPaid;
  const int32_t accountNo = row.accountCode / 10000;
  const bool debitNature = row.debitNature == 1;

  for (long i = 0; i < postingCount; ++i) {
    if (progress_ != nullptr) progress_->Pulse();
    StMOTOCHOINFO posting{};
    const long status = i == 0 ? ledgerRule_->MoveFirst(&posting) : ledgerRule_->MoveNext(&posting);
    if (status == kEndOfRows) break;
    if (status != 0) return LedgerReadFailed(status);

    PostingAmounts amounts;
    if (!ComputePostingAmounts(posting, amountBasis, taxAccount, accountNo, debitNature, amounts)) return 0;
    // A posting these rules drop needs neither its journal entry nor its names.
    if (!amounts.movement.DiffersFromInt(0) ||
        (amountBasis != 0 && taxAccount && IsForeignPosting(posting, accountNo)))
      continue;
    const int32_t ownCode = OwnCodeOf(posting);
    const int32_t counterCode = CounterCodeOf(posting);
    CounterDecision decision = DecideCounter(posting, amounts);
    if (decision == CounterDecision::NeedsJournal) {
      bool unbalanced = false;
      if (!JournalBeforeLineUnbalanced(profile, posting, unbalanced)) return 0;
      decision = unbalanced ? CounterDecision::Sundry : CounterDecision::Counter;
    }

    LedgerAccount counter;
    LedgerAccount counterSub;
    LedgerAccount ownSub;
    if (decision == CounterDecision::Counter) {
      if (!LedgerAccountOf(counterCode / 10000, counter)) return 0;
      if (counterCode % 10000 != 0 && !LedgerAccountOf(counterCode, counterSub)) return 0;
    }
    if (ownCode % 10000 != 0 && !LedgerAccountOf(ownCode, ownSub)) return 0;
    if (failure_.Failed()) return 0;
    if (IsExcludedCharacter(counter.accountCharacter)) continue;

    FixedAmount after;
    if (!FixedAmount::CheckedAdd(balance, amounts.movement, after)) return 0;
    balance = after;

    LedgerLine line;
    line.accountCode = row.accountCode;
    line.lineNo = posting.lineNo;
    if (!LedgerDateOf(posting.date, line.dateText)) return 0;
    LedgerTexts& texts = ledgerLines_.texts;
    if (decision == CounterDecision::Sundry && sundryName_ == LedgerText() &&
        !texts.KeepShared(SJ("諸口"), sundryName_))
      return 0;
    line.subAccountName = ownSub.name;
    line.counterAccountName = decision == CounterDecision::Sundry ? sundryName_ : counter.name;
    line.counterSubAccountName = counterSub.name;
    if (!KeepField<61>(texts, posting.description, sizeof posting.description, false, line.description))
      return 0;
    line.amount = amounts.movement.Raw();
    line.balance = balance.Raw();
    if (!AppendRecord(ledgerLines_, line)) return 0;
  }

  ledgerRule_->MoveFinish();
  ledgerRule_.reset();
  return 1;
}

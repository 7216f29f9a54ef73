// The ledger cursor: the postings of the ledger view's account number (the account and
// its sub-accounts, either side of a journal line) dated within the view's range and
// matching the find's month-code conditions, ordered by date, journal and line. Under the
// tax-excluded basis the consumption tax of other accounts' lines posts to the two tax
// accounts, so their ledgers carry those lines too. The ledger table holds each account
// number's lines as one contiguous range in this order, so a ledger is one range read.
#include <string>
#include <utility>

#include "orbeck/HostStore.h"
#include "orbeck/MonthCodeFind.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreStatement.h"
#include "orbeck/TextField.h"
#include "platform/BlockList.h"
#include "platform/Faults.h"
#include "runtime/Rules.h"

namespace {

constexpr const char* kMoveNextPoint = "ClRuleMotocho::MoveNext";
inline constexpr uint32_t kPaidTaxCharacter = 0x80880810;      // 仮払消費税: takes debit taxes
inline constexpr uint32_t kReceivedTaxCharacter = 0x80484010;  // 仮受消費税: takes credit taxes

inline constexpr uint8_t kSideCredit = 1;
inline constexpr uint8_t kSideDebit = 2;
inline constexpr uint8_t kSideBoth = 3;

// How a row of the ledger table reaches its account number (see schema.sql).
inline constexpr int64_t kReachDebit = 1;
inline constexpr int64_t kReachCredit = 2;
inline constexpr int64_t kReachPaidTax = 3;
inline constexpr int64_t kReachReceivedTax = 4;

struct ViewKey {
  int32_t accountCode = 0;
  int32_t startDate = 0;
  int32_t endDate = 0;
  orbeck::MonthCodeFind find;
  bool operator==(const ViewKey&) const = default;
};

// The postings' buffer outlives the cursor: the program makes a cursor per account, and
// growing a fresh buffer for each of thousands of ledgers cost more than reading them. Its
// blocks come with their pages in place and are kept: a vector grown to the largest ledger
// copied itself at every doubling into memory the kernel had first to zero.
using PostingBuffer = BlockList<StMOTOCHOINFO>;
PostingBuffer& SpareBuffer() {
  thread_local PostingBuffer spare;
  return spare;
}

}  // namespace

struct ClRuleMotocho::Impl {
  Impl() : postings(std::move(SpareBuffer())) {}
  ~Impl() {
    CountPasses();
    postings.ClearKeepingBlocks();
    SpareBuffer() = std::move(postings);
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  PostingBuffer postings;
  ViewKey loaded;
  std::size_t next = 0;
  bool ready = false;
  // Passes of the row read point since its last counted pass: a row is read millions of
  // times, so without a configured fault its passes are added up here and counted once.
  std::uint64_t uncountedPasses = 0;

  void CountPasses() {
    if (uncountedPasses != 0) orbeck::CountReadPointPasses(kMoveNextPoint, uncountedPasses);
    uncountedPasses = 0;
  }
  long Load(const std::string& dataId, const StFINDINFO* find, const StMOTOCHOHYOJIINFO& view);
};

long ClRuleMotocho::Impl::Load(const std::string& dataId, const StFINDINFO* find,
                               const StMOTOCHOHYOJIINFO& view) {
  ViewKey key{view.accountCode, view.startDate, view.endDate, {}};
  if (!key.find.Assign(find)) return orbeck::kNotReady;
  if (ready && key == loaded) return 0;
  ready = false;
  postings.ClearKeepingBlocks();
  next = 0;

  auto& store = orbeck::HostStore::Session();
  if (!store.IsOpen()) return orbeck::kNotAttached;
  const orbeck::AccountMaster* master = store.Accounts(dataId);
  const orbeck::DataFacts* data = store.Data(dataId);
  if (master == nullptr || data == nullptr) return orbeck::kStoreError;
  uint32_t character = 0;
  if (auto found = master->byCode.find(int32_t{view.accountCode}); found != master->byCode.end())
    character = static_cast<uint32_t>(found->second.accountCharacter);
  const int64_t taxReach = character == kPaidTaxCharacter       ? kReachPaidTax
                           : character == kReceivedTaxCharacter ? kReachReceivedTax
                                                                : 0;
  const uint8_t taxSide = taxReach == kReachPaidTax ? kSideDebit : kSideCredit;

  orbeck::StatementUse query = store.Prepare(
      "SELECT journal_id, line_no, date, reach, adjustment, counter_kind, debit_code, debit_amount, "
      "debit_tax, "
      "credit_code, credit_amount, credit_tax, description FROM postings "
      "WHERE data_ord = ?1 AND account_no = ?2 AND date BETWEEN ?3 AND ?4");
  if (query == nullptr) return orbeck::kStoreError;
  const int32_t accountNo = view.accountCode / 10000;
  query->Bind(1, data->ord);
  query->Bind(2, int64_t{accountNo});
  query->Bind(3, int64_t{view.startDate});
  query->Bind(4, int64_t{view.endDate});
  // The rows of one journal line lie side by side (reach is the last key column): the line
  // is taken once, when any of its rows reaches this ledger.
  int32_t lastJournal = 0;
  int32_t lastLine = 0;
  while (query->Step()) {
    const int64_t reach = query->Int(3);
    if (reach != kReachDebit && reach != kReachCredit && reach != taxReach) continue;
    const auto journalId = static_cast<int32_t>(query->Int(0));
    const auto lineNo = static_cast<int32_t>(query->Int(1));
    if (!postings.empty() && journalId == lastJournal && lineNo == lastLine) continue;
    const auto date = static_cast<int32_t>(query->Int(2));
    if (!key.find.Matches(
            orbeck::MonthCodeOf(date, static_cast<int>(query->Int(4)), data->periodStart, data->closingDay)))
      continue;
    StMOTOCHOINFO posting{};
    posting.journalId = lastJournal = journalId;
    posting.lineNo = lastLine = lineNo;
    posting.date = date;
    posting.counterKind = static_cast<uint8_t>(query->Int(5));
    posting.debitCode = static_cast<int32_t>(query->Int(6));
    posting.debitAmount = query->Int(7);
    posting.debitTax = query->Int(8);
    posting.creditCode = static_cast<int32_t>(query->Int(9));
    posting.creditAmount = query->Int(10);
    posting.creditTax = query->Int(11);
    orbeck::FillNameField(posting.description, sizeof posting.description, query->Blob(12));
    const bool onDebit = posting.debitCode / 10000 == accountNo;
    const bool onCredit = posting.creditCode / 10000 == accountNo;
    posting.side = onDebit && onCredit ? kSideBoth : onDebit ? kSideDebit : onCredit ? kSideCredit : taxSide;
    postings.push_back(posting);
  }
  if (query->Failed()) {
    postings.ClearKeepingBlocks();
    return orbeck::kStoreError;
  }
  loaded = key;
  ready = true;
  return 0;
}

ClRuleMotocho::ClRuleMotocho() : impl_(std::make_unique<Impl>()) {}
ClRuleMotocho::~ClRuleMotocho() = default;

long ClRuleMotocho::MoveReady(const StFINDINFO* find, const StORDERINFO* /*order*/,
                              StMOTOCHOHYOJIINFO* view) {
  if (view == nullptr) return orbeck::kNotReady;
  impl_->ready = false;
  return impl_->Load(dataId_, find, *view);
}

long ClRuleMotocho::GetCount(const StFINDINFO* find, StMOTOCHOHYOJIINFO* view, long* count) {
  if (orbeck::InjectedReadFailure("ClRuleMotocho::GetCount")) return orbeck::kStoreError;
  if (view == nullptr || count == nullptr) return orbeck::kNotReady;
  if (long status = impl_->Load(dataId_, find, *view); status != 0) return status;
  *count = static_cast<long>(impl_->postings.size());
  return 0;
}

long ClRuleMotocho::SetMovePos(long pos) {
  if (!impl_->ready || pos < 0) return orbeck::kNotReady;
  impl_->next = static_cast<std::size_t>(pos);
  return 0;
}

long ClRuleMotocho::MoveFirst(StMOTOCHOINFO* posting) {
  if (!impl_->ready) return orbeck::kNotReady;
  impl_->next = 0;
  return MoveNext(posting);
}

long ClRuleMotocho::MoveNext(StMOTOCHOINFO* posting) {
  if (!impl_->ready || posting == nullptr) return orbeck::kNotReady;
  if (impl_->next >= impl_->postings.size()) return kEndOfRows;
  // The detail (the account) is only made when a fault may fire: this runs once per posting.
  if (!platform::faults::Armed() && impl_->next != 0) {
    ++impl_->uncountedPasses;
  } else {
    impl_->CountPasses();
    if (orbeck::InjectedReadFailure(kMoveNextPoint, platform::faults::Armed()
                                                        ? std::to_string(impl_->loaded.accountCode)
                                                        : std::string()))
      return orbeck::kStoreError;
  }
  *posting = impl_->postings[impl_->next++];
  return 0;
}

long ClRuleMotocho::MoveFinish() {
  impl_->CountPasses();
  impl_->postings.ClearKeepingBlocks();
  impl_->next = 0;
  impl_->ready = false;
  return 0;
}

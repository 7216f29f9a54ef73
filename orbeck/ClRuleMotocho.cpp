// The ledger cursor: the postings of the ledger view's account number (the account and
// its sub-accounts, either side of a journal line) dated within the view's range and
// matching the find's month-code conditions, ordered by date, journal and line. Under the
// tax-excluded basis the consumption tax of other accounts' lines posts to the two tax
// accounts, so their ledgers carry those lines too. The ledger table holds each account
// number's lines as one contiguous range in this order, so a ledger is one range read, and
// the next account's range is read ahead on a second connection (LedgerReadAhead).
#include <string>
#include <utility>

#include "orbeck/HostStore.h"
#include "orbeck/LedgerReadAhead.h"
#include "orbeck/LedgerRows.h"
#include "orbeck/MonthCodeFind.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreStatement.h"
#include "platform/Faults.h"
#include "runtime/Rules.h"

namespace {

constexpr const char* kMoveNextPoint = "ClRuleMotocho::MoveNext";

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
orbeck::PostingBuffer& SpareBuffer() {
  thread_local orbeck::PostingBuffer spare;
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

  orbeck::PostingBuffer postings;
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
  const orbeck::LedgerRequest request{
      data->ord, view.accountCode / 10000,      view.startDate,    view.endDate,
      key.find,  orbeck::TaxReachOf(character), data->periodStart, data->closingDay};

  orbeck::StatementUse query = store.Prepare(orbeck::kLedgerRowsSql);
  if (query == nullptr) return orbeck::kStoreError;
  orbeck::LedgerReadAhead* ahead = store.ReadAhead();
  std::uint64_t aheadSteps = 0;
  if (ahead != nullptr && ahead->Take(request, postings, aheadSteps)) {
    query->AddSteps(aheadSteps);
  } else {
    query->Bind(1, request.dataOrd);
    query->Bind(2, int64_t{request.accountNo});
    query->Bind(3, int64_t{request.startDate});
    query->Bind(4, int64_t{request.endDate});
    if (!orbeck::ReadLedgerRows(*query, request, postings)) {
      postings.ClearKeepingBlocks();
      return orbeck::kStoreError;
    }
  }
  if (ahead != nullptr) ahead->ReadAfter(request, master);
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

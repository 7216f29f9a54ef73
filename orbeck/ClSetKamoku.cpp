// The account master of the selected data, served from memory: the master is loaded once
// per data and attach, so the ledger's lookups per posting never reach the store.
#include <vector>

#include "orbeck/CursorTable.h"
#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "runtime/Sets.h"

namespace {

// The find field of the full account code.
inline constexpr int32_t kAccountCodeField = 2;
inline constexpr int16_t kEqual = 1;

}  // namespace

struct ClSetKamoku::Impl {
  struct Cursor {
    std::vector<StKAMOKUINFO> found;
    std::size_t next = 0;
    bool ready = false;
  };
  orbeck::CursorTable<Cursor> cursors;
};

ClSetKamoku::ClSetKamoku() : impl_(std::make_unique<Impl>()) {}
ClSetKamoku::~ClSetKamoku() = default;

long ClSetKamoku::GetCursor(long* cursor) {
  if (cursor == nullptr) return orbeck::kNotReady;
  *cursor = impl_->cursors.Open();
  return 0;
}

// Without a find the cursor walks the whole master by account code; the find the
// program uses is one equality on the full account code.
long ClSetKamoku::ReadyCursor(long cursor, const StFINDINFO* find) {
  auto* found = impl_->cursors.Find(cursor);
  if (found == nullptr) return orbeck::kNotReady;
  auto& store = orbeck::HostStore::Session();
  std::string dataId;
  if (long status = store.SelectedDataId(dataId); status != 0) return status;
  const orbeck::AccountMaster* master = store.Accounts(dataId);
  if (master == nullptr) return orbeck::kStoreError;
  Impl::Cursor ready;
  ready.ready = true;
  if (find == nullptr) {
    for (int32_t code : master->codes) ready.found.push_back(master->byCode.at(code));
  } else {
    const StFINDCOND& cond = find->cond[0];
    if (cond.item != kAccountCodeField || cond.comparison != kEqual) return orbeck::kNotReady;
    int32_t code = cond.valueType == 2 ? cond.shortValue : cond.longValue;
    if (auto hit = master->byCode.find(code); hit != master->byCode.end()) ready.found.push_back(hit->second);
  }
  *found = std::move(ready);
  return 0;
}

long ClSetKamoku::WalkFind(long cursor, StKAMOKUINFO* info) {
  auto* found = impl_->cursors.Find(cursor);
  if (found == nullptr || !found->ready || info == nullptr) return orbeck::kNotReady;
  Impl::Cursor& walk = *found;
  if (walk.next >= walk.found.size()) return orbeck::kNotFound;
  *info = walk.found[walk.next++];
  return 0;
}

long ClSetKamoku::ReleaseCursor(long cursor) {
  return impl_->cursors.Release(cursor) ? 0 : orbeck::kNotReady;
}

// The account master of the selected data, served from memory: the master is loaded once
// per data and attach, so the ledger's lookups per posting never reach the store.
#include "orbeck/CursorTable.h"
#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "runtime/HostCodes.h"
#include "runtime/Sets.h"

// A cursor points into the master (which lives until the next attach, when every cursor
// is forgotten): the whole master by code, or the one record the find names.
struct ClSetKamoku::Impl {
  struct Cursor {
    const orbeck::AccountMaster* master = nullptr;
    const StKAMOKUINFO* hit = nullptr;
    bool whole = false;
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
  ready.master = master;
  if (find == nullptr) {
    ready.whole = true;
  } else {
    const StFINDCOND& cond = find->cond[0];
    if (cond.item != hostcode::kFindAccountCode || cond.comparison != hostcode::kEqual)
      return orbeck::kNotReady;
    int32_t code = cond.valueType == hostcode::kShortValue ? cond.shortValue : cond.longValue;
    if (auto hit = master->byCode.find(code); hit != master->byCode.end()) ready.hit = &hit->second;
  }
  *found = ready;
  return 0;
}

long ClSetKamoku::WalkFind(long cursor, StKAMOKUINFO* info) {
  auto* found = impl_->cursors.Find(cursor);
  if (found == nullptr || !found->ready || info == nullptr) return orbeck::kNotReady;
  Impl::Cursor& walk = *found;
  if (walk.whole) {
    if (walk.next >= walk.master->codes.size()) return orbeck::kNotFound;
    *info = walk.master->byCode.at(walk.master->codes[walk.next++]);
    return 0;
  }
  if (walk.hit == nullptr || walk.next > 0) return orbeck::kNotFound;
  ++walk.next;
  *info = *walk.hit;
  return 0;
}

long ClSetKamoku::ReleaseCursor(long cursor) {
  return impl_->cursors.Release(cursor) ? 0 : orbeck::kNotReady;
}

// The era master, ascending by first day, served from memory after the first read.

#include "orbeck/CursorTable.h"
#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreStatement.h"
#include "runtime/Rules.h"
#include "runtime/Sets.h"

struct ClSetGengo::Impl {
  struct Cursor {
    const std::vector<StGENGOINFO>* eras = nullptr;
    std::size_t next = 0;
  };
  orbeck::CursorTable<Cursor> cursors;
};

ClSetGengo::ClSetGengo() : impl_(std::make_unique<Impl>()) {}
ClSetGengo::~ClSetGengo() = default;

long ClSetGengo::GetCursor(long* cursor) {
  if (cursor == nullptr) return orbeck::kNotReady;
  if (!orbeck::HostStore::Session().IsOpen()) return orbeck::kNotAttached;
  *cursor = impl_->cursors.Open();
  return 0;
}

long ClSetGengo::Ready(long cursor) {
  auto* found = impl_->cursors.Find(cursor);
  if (found == nullptr) return orbeck::kNotReady;
  const std::vector<StGENGOINFO>* eras = orbeck::HostStore::Session().Eras();
  if (eras == nullptr) return orbeck::kStoreError;
  *found = {eras, 0};
  return 0;
}

long ClSetGengo::Walk(StGENGOINFO* info, long cursor) {
  auto* found = impl_->cursors.Find(cursor);
  if (found == nullptr || found->eras == nullptr || info == nullptr) return orbeck::kNotReady;
  if (orbeck::InjectedReadFailure("ClSetGengo::Walk")) return orbeck::kStoreError;
  Impl::Cursor& walk = *found;
  if (walk.next >= walk.eras->size()) return kEndOfRows;
  *info = (*walk.eras)[walk.next++];
  return 0;
}

long ClSetGengo::ReleaseCursor(long cursor) { return impl_->cursors.Release(cursor) ? 0 : orbeck::kNotReady; }

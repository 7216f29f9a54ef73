// The era master, ascending by first day, served from memory after the first read.
#include <map>

#include "app/OrbeckRuntime/Rules.h"
#include "app/OrbeckRuntime/Sets.h"
#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "platform/Faults.h"

struct ClSetGengo::Impl {
  struct Cursor {
    const std::vector<StGENGOINFO>* eras = nullptr;
    std::size_t next = 0;
  };
  unsigned long generation = 0;
  long lastCursor = 0;
  std::map<long, Cursor> cursors;

  void Refresh() {
    unsigned long current = orbeck::HostStore::Session().Generation();
    if (generation != current) {
      cursors.clear();
      generation = current;
    }
  }
};

ClSetGengo::ClSetGengo() : impl_(std::make_unique<Impl>()) {}
ClSetGengo::~ClSetGengo() = default;

long ClSetGengo::GetCursor(long* cursor) {
  if (cursor == nullptr) return orbeck::kNotReady;
  if (!orbeck::HostStore::Session().IsOpen()) return orbeck::kNotAttached;
  impl_->Refresh();
  *cursor = ++impl_->lastCursor;
  impl_->cursors[*cursor] = {};
  return 0;
}

long ClSetGengo::Ready(long cursor) {
  impl_->Refresh();
  auto found = impl_->cursors.find(cursor);
  if (found == impl_->cursors.end()) return orbeck::kNotReady;
  const std::vector<StGENGOINFO>* eras = orbeck::HostStore::Session().Eras();
  if (eras == nullptr) return orbeck::kStoreError;
  found->second = {eras, 0};
  return 0;
}

long ClSetGengo::Walk(StGENGOINFO* info, long cursor) {
  impl_->Refresh();
  auto found = impl_->cursors.find(cursor);
  if (found == impl_->cursors.end() || found->second.eras == nullptr || info == nullptr)
    return orbeck::kNotReady;
  if (platform::faults::Hit("ClSetGengo::Walk")) return orbeck::kStoreError;
  Impl::Cursor& walk = found->second;
  if (walk.next >= walk.eras->size()) return kEndOfRows;
  *info = (*walk.eras)[walk.next++];
  return 0;
}

long ClSetGengo::ReleaseCursor(long cursor) {
  impl_->Refresh();
  return impl_->cursors.erase(cursor) == 1 ? 0 : orbeck::kNotReady;
}

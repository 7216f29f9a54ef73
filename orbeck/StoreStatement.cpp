// Prepared statements over SQLite.
#include "orbeck/StoreStatement.h"

#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <mutex>

#include "orbeck/RuntimeStatus.h"
#include "platform/Faults.h"
#include "runtime/Connect.h"

namespace orbeck {

namespace {

struct PointUses {
  std::mutex mutex;
  std::map<std::string, std::pair<std::uint64_t, std::string>, std::less<>> passes;
  std::vector<std::string> order;  // first passed first
};

// Never destroyed: the session's statements count their steps when they go, which may be
// among the exit handlers.
PointUses& Uses() {
  static auto* uses = new PointUses;
  return *uses;
}

void CountUse(std::string_view faultEntry, std::uint64_t passes, std::string_view description) {
  PointUses& registry = Uses();
  std::lock_guard lock(registry.mutex);
  auto found = registry.passes.find(faultEntry);
  if (found == registry.passes.end()) {
    found = registry.passes.emplace(std::string(faultEntry), std::pair(0, std::string(description))).first;
    registry.order.push_back(found->first);
  }
  found->second.first += passes;
}

// The point a cursor passed last and its passes not yet counted: a cursor passes its point
// once per row, and counting every pass under the lock cost more than reading the row.
struct LastPoint {
  std::string name;
  std::uint64_t pending = 0;
};
thread_local LastPoint last;

void CountLastPoint() {
  if (last.pending != 0) CountUse(last.name, last.pending, last.name);
  last.pending = 0;
}

}  // namespace

std::string ReadPointName(std::string_view sql) {
  std::uint32_t hash = 2166136261u;
  for (char c : sql) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", hash);
  return std::string(hex) + " " + std::string(sql);
}

bool InjectedReadFailure(std::string_view point, std::string_view detail) {
  if (point == last.name) {
    ++last.pending;
  } else {
    // The first pass is counted at once, so that the points keep the order they were passed in.
    CountLastPoint();
    CountUse(point, 1, point);
    last.name.assign(point);
  }
  if (!platform::faults::Armed() || !platform::faults::Hit(point, detail)) return false;
  ClMsgMgr::Inst().NoteReadFailure(kStoreError, std::string(point));
  return true;
}

void CountReadPointPasses(std::string_view point, std::uint64_t passes) { CountUse(point, passes, point); }

std::vector<ReadPointUse> ReadPointUses() {
  CountLastPoint();
  PointUses& registry = Uses();
  std::lock_guard lock(registry.mutex);
  std::vector<ReadPointUse> uses;
  for (const std::string& entry : registry.order) {
    const auto& [passes, description] = registry.passes.find(entry)->second;
    uses.push_back({entry, passes, description});
  }
  return uses;
}

void ResetReadPointUses() {
  last = LastPoint{};
  PointUses& registry = Uses();
  std::lock_guard lock(registry.mutex);
  registry.passes.clear();
  registry.order.clear();
}

StoreStatement::StoreStatement(sqlite3* db, const char* sql) : readPoint_(ReadPointName(sql)) {
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

StoreStatement::~StoreStatement() {
  const std::size_t blank = readPoint_.find(' ');
  if (steps_ != 0) CountUse("StoreRead@" + readPoint_.substr(0, blank), steps_, readPoint_.substr(blank + 1));
  sqlite3_finalize(stmt_);
}

void StoreStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  failed_ = false;
}

void StoreStatement::Bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) failed_ = true;
}

void StoreStatement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    failed_ = true;
}

bool StoreStatement::Step() {
  ++steps_;
  if (!failed_) {
    const int rc = platform::faults::Hit("StoreRead", readPoint_) ? SQLITE_IOERR : sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    failed_ = true;
  }
  ClMsgMgr::Inst().NoteReadFailure(kStoreError, readPoint_);
  return false;
}

std::int64_t StoreStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string_view StoreStatement::Blob(int column) const {
  // The pointer must be fetched before the size: fetching converts the value.
  const void* data = sqlite3_column_blob(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return {};
  return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

bool StoreStatement::IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

}  // namespace orbeck

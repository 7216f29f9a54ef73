// Prepared statements over SQLite.
#include "orbeck/StoreStatement.h"

#include <sqlite3.h>

namespace orbeck {

StoreStatement::StoreStatement(sqlite3* db, const char* sql) {
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

StoreStatement::~StoreStatement() { sqlite3_finalize(stmt_); }

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
  if (failed_) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) failed_ = true;
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

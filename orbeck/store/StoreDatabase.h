// The store's SQLite connection and prepared statements, as the loader, the dumper and the
// check use them: results instead of exceptions, texts as bytes.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orbeck::store {

// One prepared statement; Bind* take 1-based positions like SQLite.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    ok_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) == SQLITE_OK;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return ok_; }
  void Int(int pos, int64_t value) { ok_ = ok_ && sqlite3_bind_int64(stmt_, pos, value) == SQLITE_OK; }
  void Blob(int pos, const std::string& value) {
    ok_ = ok_ && sqlite3_bind_blob64(stmt_, pos, value.data(), value.size(), SQLITE_TRANSIENT) == SQLITE_OK;
  }
  // Binds without a copy: the value must outlive the next Exec (the bulk rows' texts).
  void BlobRef(int pos, const std::string& value) {
    ok_ = ok_ && sqlite3_bind_blob64(stmt_, pos, value.data(), value.size(), SQLITE_STATIC) == SQLITE_OK;
  }
  void BlobRef(int pos, std::string&& value) = delete;
  void BlobRef(int pos, std::string_view value) {
    ok_ = ok_ && sqlite3_bind_blob64(stmt_, pos, value.data(), value.size(), SQLITE_STATIC) == SQLITE_OK;
  }
  void TextRef(int pos, const std::string& value) {
    ok_ = ok_ && sqlite3_bind_text64(stmt_, pos, value.data(), value.size(), SQLITE_STATIC, SQLITE_UTF8) ==
                     SQLITE_OK;
  }
  void TextRef(int pos, std::string&& value) = delete;
  void Text(int pos, const std::string& value) {
    ok_ = ok_ && sqlite3_bind_text64(stmt_, pos, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8) ==
                     SQLITE_OK;
  }
  // Runs an insert and makes the statement ready for the next one, whose values replace
  // these (the bulk inserts bind every column of every row).
  bool Exec() {
    ok_ = ok_ && sqlite3_step(stmt_) == SQLITE_DONE;
    sqlite3_reset(stmt_);
    return ok_;
  }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  // Steps a select: true while a row is there.
  bool Row() {
    if (!ok_) return false;
    int rc = sqlite3_step(stmt_);
    ok_ = rc == SQLITE_ROW || rc == SQLITE_DONE;
    return rc == SQLITE_ROW;
  }
  int64_t ColumnInt(int col) const { return sqlite3_column_int64(stmt_, col); }
  std::string ColumnBytes(int col) const {
    const void* data = sqlite3_column_blob(stmt_, col);
    int size = sqlite3_column_bytes(stmt_, col);
    return data == nullptr ? std::string()
                           : std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool ok_ = false;
};

class Database {
 public:
  // SQLite takes the name in UTF-8 on every system (on Windows the native name is UTF-16).
  Database(const std::filesystem::path& path, int flags) {
    const std::u8string name = path.u8string();
    ok_ = sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db_, flags, nullptr) == SQLITE_OK;
  }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  bool Ok() const { return ok_; }
  sqlite3* Handle() const { return db_; }
  std::string Message() const { return db_ != nullptr ? sqlite3_errmsg(db_) : "cannot open the store"; }
  bool Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

// A new file written in one go: no journal, no syncs (the loader syncs it once), large pages.
inline constexpr const char* kBulkPragmas =
    "PRAGMA page_size = 16384; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA cache_size = "
    "-4096; PRAGMA locking_mode = EXCLUSIVE;";

}  // namespace orbeck::store

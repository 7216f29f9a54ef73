// SQL helpers of the store's tests.
#include "tests/orbeck/store/StoreQuery.h"

namespace orbeck::store::test {

StoreQuery::StoreQuery(const std::filesystem::path& store) {
  if (sqlite3_open_v2(store.string().c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
  }
}

StoreQuery::~StoreQuery() { sqlite3_close(db_); }

int64_t StoreQuery::Int(const std::string& sql) const {
  sqlite3_stmt* stmt = nullptr;
  int64_t value = 0;
  if (db_ != nullptr && sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    value = sqlite3_column_int64(stmt, 0);
  }
  sqlite3_finalize(stmt);
  return value;
}

int64_t StoreQuery::Sum(const std::string& dataId, int code, int set, char side, int entry) const {
  return Int("SELECT amount FROM sums WHERE data_id = '" + dataId +
             "' AND account_code = " + std::to_string(code) + " AND amount_set = " + std::to_string(set) +
             " AND side = '" + std::string(1, side) + "' AND entry = " + std::to_string(entry));
}

std::string StoreQuery::Image() const {
  static const char* const kTables[] = {
      "SELECT * FROM meta ORDER BY key",
      "SELECT * FROM folders ORDER BY kind",
      "SELECT * FROM users ORDER BY user_id",
      "SELECT * FROM session",
      "SELECT * FROM data ORDER BY data_id",
      "SELECT * FROM accounts ORDER BY data_id, account_code",
      "SELECT * FROM sums ORDER BY data_id, account_code, amount_set, side, entry",
      "SELECT * FROM journals ORDER BY data_id, journal_id",
      "SELECT * FROM journal_lines ORDER BY data_id, journal_id, line_no",
      "SELECT * FROM eras ORDER BY gengo_no",
      "SELECT * FROM saved_documents ORDER BY data_id, kind",
      "PRAGMA user_version"};
  std::string image;
  for (const char* sql : kTables) image += std::string(sql) + "\n" + Rows(sql);
  return image;
}

std::string StoreQuery::Rows(const std::string& sql) const {
  sqlite3_stmt* stmt = nullptr;
  if (db_ == nullptr || sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    return "(cannot read)\n";
  }
  std::string rows;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
      const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, c));
      rows += std::to_string(sqlite3_column_type(stmt, c)) + ":" +
              std::string(bytes != nullptr ? bytes : "",
                          static_cast<std::size_t>(sqlite3_column_bytes(stmt, c))) +
              "|";
    }
    rows += "\n";
  }
  sqlite3_finalize(stmt);
  return rows;
}

}  // namespace orbeck::store::test

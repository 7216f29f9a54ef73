// Plain SQL reads of a store file for the store's tests, independent of the loader's code.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace orbeck::store::test {

class StoreQuery {
 public:
  explicit StoreQuery(const std::filesystem::path& store);
  ~StoreQuery();
  StoreQuery(const StoreQuery&) = delete;
  StoreQuery& operator=(const StoreQuery&) = delete;

  bool ok() const { return db_ != nullptr; }
  // The first column of the first row as an integer (0 when there is no row).
  int64_t Int(const std::string& sql) const;
  // Every row of the query, one text line per row.
  std::string Rows(const std::string& sql) const;
  // Every row of every table in key order, one text line per row: a canonical image of the store.
  std::string Image() const;
  // Entry of the sums table (0 when the row is absent); set 1 or 2, side 'D' or 'C'.
  int64_t Sum(const std::string& dataId, int code, int set, char side, int entry) const;

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace orbeck::store::test

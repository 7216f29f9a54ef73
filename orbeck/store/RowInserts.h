// Rows inserted many to a statement: one step of SQLite's machine per group of rows instead
// of per row, which is most of an insert's cost for the store's short rows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "orbeck/store/StoreDatabase.h"

namespace orbeck::store {

class RowInserts {
 public:
  static constexpr std::size_t kGroup = 32;

  // `head` is "INSERT INTO table (columns)"; each row binds `columns` values.
  RowInserts(Database& db, std::string_view head, int columns)
      : columns_(columns),
        many_(db.Handle(), Sql(head, kGroup).c_str()),
        one_(db.Handle(), Sql(head, 1).c_str()) {}

  bool Ok() const { return many_.Ok() && one_.Ok(); }

  // Inserts rows 0 to count - 1; bind(statement, first, row) binds a row's values from
  // position `first` on.
  template <typename Bind>
  bool Insert(std::size_t count, Bind bind) {
    std::size_t row = 0;
    for (; row + kGroup <= count; row += kGroup) {
      for (std::size_t k = 0; k < kGroup; ++k) bind(many_, static_cast<int>(k) * columns_ + 1, row + k);
      if (!many_.Exec()) return false;
    }
    for (; row < count; ++row) {
      bind(one_, 1, row);
      if (!one_.Exec()) return false;
    }
    return true;
  }

 private:
  std::string Sql(std::string_view head, std::size_t rows) const {
    std::string values = "(";
    for (int c = 0; c < columns_; ++c) values += c == 0 ? "?" : ",?";
    values += ")";
    std::string sql(head);
    sql += " VALUES ";
    for (std::size_t r = 0; r < rows; ++r) sql += (r == 0 ? "" : ",") + values;
    return sql;
  }

  int columns_;
  Statement many_;
  Statement one_;
};

}  // namespace orbeck::store

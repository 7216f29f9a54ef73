// The document's members in the store, by their tables (DocumentMembers.h): every member
// with a field and a column is bound into an insert, read back from a select and copied
// between records here, so that a new plain member needs no code of its own. Texts are
// BLOBs of code page 932 bytes; every other value an INTEGER.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "orbeck/store/DocumentMembers.h"
#include "orbeck/store/StoreDatabase.h"

namespace orbeck::store::members {

template <typename Record>
constexpr bool HasColumn(const Member<Record>& member) {
  return !member.column.empty() && member.field.index() != 0;
}

// "?,?,…" for `count` values.
inline std::string Placeholders(int count) {
  std::string marks;
  for (int i = 0; i < count; ++i) marks += i == 0 ? "?" : ",?";
  return marks;
}

// Binds the member's value from `record` at position `at`; the record must outlive the
// statement's next Exec.
template <typename Record>
void BindColumn(Statement& statement, int at, const Member<Record>& member, const Record& record) {
  std::visit(
      [&](auto field) {
        using Pointer = decltype(field);
        if constexpr (std::is_same_v<Pointer, std::string Record::*>) {
          statement.BlobRef(at, record.*field);
        } else if constexpr (!std::is_same_v<Pointer, std::monostate>) {
          statement.Int(at, static_cast<int64_t>(record.*field));
        }
      },
      member.field);
}

// Binds every column member of `record` from position `at` on; the next free position.
// The table is a template argument, so that each member's binding is resolved when
// compiled: the journals' rows are bound a million times.
template <const auto& Table, typename Record>
int BindColumns(Statement& statement, int at, const Record& record) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (
        [&] {
          constexpr const auto& member = Table[I];
          if constexpr (HasColumn(member)) {
            constexpr auto field = std::get<member.field.index()>(member.field);
            if constexpr (std::is_same_v<decltype(field), std::string Record::*const>) {
              statement.BlobRef(at++, record.*field);
            } else {
              statement.Int(at++, static_cast<int64_t>(record.*field));
            }
          }
        }(),
        ...);
  }
  (std::make_index_sequence<Table.size()>{});
  return at;
}

// Reads the member's value into `record` from the select's column `column`.
template <typename Record>
void ReadColumn(const Statement& statement, int column, const Member<Record>& member, Record& record) {
  std::visit(
      [&](auto field) {
        using Pointer = decltype(field);
        if constexpr (std::is_same_v<Pointer, std::string Record::*>) {
          record.*field = statement.ColumnBytes(column);
        } else if constexpr (!std::is_same_v<Pointer, std::monostate>) {
          using Value = std::remove_reference_t<decltype(record.*field)>;
          if constexpr (std::is_same_v<Value, bool>) {
            record.*field = statement.ColumnInt(column) != 0;
          } else {
            record.*field = static_cast<Value>(statement.ColumnInt(column));
          }
        }
      },
      member.field);
}

// Reads every column member, selected in the order of Columns(table), from column `column`
// on; the next column.
template <typename Record, std::size_t N>
int ReadColumns(const Statement& statement, int column, const std::array<Member<Record>, N>& table,
                Record& record) {
  for (const Member<Record>& member : table) {
    if (HasColumn(member)) ReadColumn(statement, column++, member, record);
  }
  return column;
}

// Copies the members that have a field from one record to another, leaving the rest.
template <const auto& Table, typename Record>
void CopyFields(const Record& from, Record& to) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (
        [&] {
          constexpr const auto& member = Table[I];
          if constexpr (member.field.index() != 0) {
            constexpr auto field = std::get<member.field.index()>(member.field);
            to.*field = from.*field;
          }
        }(),
        ...);
  }
  (std::make_index_sequence<Table.size()>{});
}

}  // namespace orbeck::store::members

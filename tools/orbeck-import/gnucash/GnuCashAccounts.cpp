// The account tree of a GnuCash book, read in one query and joined into full names.
#include "tools/orbeck-import/gnucash/GnuCashAccounts.h"

#include <sqlite3.h>

#include <vector>

namespace orbeck::import {
namespace {

struct Row {
  std::string name, type, parent, mnemonic;
  bool currency = false;
};

std::string Text(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
}

}  // namespace

SourceType GnuCashSourceType(const std::string& accountType) {
  static const std::pair<const char*, SourceType> kTypes[] = {
      {"ASSET", SourceType::Asset},         {"BANK", SourceType::Asset},
      {"CASH", SourceType::Asset},          {"RECEIVABLE", SourceType::Asset},
      {"STOCK", SourceType::Asset},         {"MUTUAL", SourceType::Asset},
      {"LIABILITY", SourceType::Liability}, {"CREDIT", SourceType::Liability},
      {"PAYABLE", SourceType::Liability},   {"EQUITY", SourceType::Equity},
      {"INCOME", SourceType::Revenue},      {"EXPENSE", SourceType::Expense}};
  for (const auto& [name, type] : kTypes)
    if (accountType == name) return type;
  return SourceType::Unknown;
}

int ReadGnuCashAccounts(sqlite3* db, std::unordered_map<std::string, GnuCashAccount>& accounts,
                        std::string& error) {
  const char* sql =
      "SELECT a.guid, a.name, a.account_type, a.parent_guid, c.namespace, c.mnemonic,"
      " (SELECT root_account_guid FROM books LIMIT 1)"
      " FROM accounts a LEFT JOIN commodities c ON c.guid = a.commodity_guid";
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
    error = std::string("not a GnuCash book: ") + sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    return 0;
  }
  std::unordered_map<std::string, Row> rows;
  std::string root;
  int step = SQLITE_ROW;
  while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
    rows[Text(statement, 0)] = {Text(statement, 1), Text(statement, 2), Text(statement, 3),
                                Text(statement, 5), Text(statement, 4) == "CURRENCY"};
    root = Text(statement, 6);
  }
  sqlite3_finalize(statement);
  if (step != SQLITE_DONE) {
    error = std::string("reading the accounts: ") + sqlite3_errmsg(db);
    return 0;
  }
  for (const auto& [guid, row] : rows) {
    if (row.type == "ROOT") continue;
    GnuCashAccount account{row.name, GnuCashSourceType(row.type), row.currency && row.mnemonic == "JPY",
                           row.mnemonic, false};
    // Up to the root; a cycle or a missing parent leaves the account outside the book.
    std::string parent = row.parent;
    for (std::size_t depth = 0; depth <= rows.size(); ++depth) {
      const auto up = rows.find(parent);
      if (up == rows.end()) break;
      if (up->second.type == "ROOT") {
        account.inBook = root.empty() ? up->second.name != "Template Root" : parent == root;
        break;
      }
      account.path = up->second.name + ":" + account.path;
      parent = up->second.parent;
    }
    accounts[guid] = std::move(account);
  }
  return 1;
}

}  // namespace orbeck::import

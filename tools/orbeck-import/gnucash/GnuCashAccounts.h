// The accounts of a GnuCash book as the importer sees them: each account's full name under
// the book's root, its type and its commodity.
#pragma once

#include <string>
#include <unordered_map>

#include "tools/orbeck-import/Books.h"

struct sqlite3;

namespace orbeck::import {

struct GnuCashAccount {
  std::string path;  // names from below the root, joined by ':'
  SourceType type = SourceType::Unknown;
  bool yen = false;       // its commodity is the currency JPY
  std::string commodity;  // the commodity's mnemonic, for messages
  bool inBook = false;    // under the book's root (not a scheduled transaction's template)
};

// GnuCash's account_type -> what the importer knows of it.
SourceType GnuCashSourceType(const std::string& accountType);

// Every account by guid; 0 with a message when the tables are not a GnuCash book's.
int ReadGnuCashAccounts(sqlite3* db, std::unordered_map<std::string, GnuCashAccount>& accounts,
                        std::string& error);

}  // namespace orbeck::import

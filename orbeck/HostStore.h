// The host session's open store (read-only) and what the runtime keeps of it in memory:
// prepared statements, the account master of each data and the era master, each loaded once
// per attach. Every set and rule object reads through the one session.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "orbeck/LedgerReadAhead.h"
#include "orbeck/StoreStatement.h"
#include "runtime/Records.h"

struct sqlite3;

namespace orbeck {

// The account master of one data, by full account code.
struct AccountMaster {
  std::unordered_map<std::int32_t, StKAMOKUINFO> byCode;
  std::vector<std::int32_t> codes;  // ascending
};

// What the ledger needs of one data record: its key in the ledger table and its months.
struct DataFacts {
  std::int64_t ord = -1;  // -1: no such data, so no ledger rows
  std::int32_t periodStart = 0;
  int closingDay = 31;
};

class HostStore {
 public:
  static HostStore& Session();

  // Opens homeFolder/orbeck.db read-only; 0 or one of the Initiate statuses.
  long Open(const std::string& homeFolder);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  // Changes with every Close, so that cursors of an earlier session are known to be stale.
  unsigned long Generation() const { return generation_; }
  const std::string& Home() const { return home_; }

  // The kept statement of sql, ready to bind; none when no store is open or sql fails.
  StatementUse Prepare(const char* sql);
  std::optional<std::string> Meta(std::string_view key);
  // None on a store error.
  const AccountMaster* Accounts(const std::string& dataId);
  const std::vector<StGENGOINFO>* Eras();
  // None on a store error; a data id that names no data has no ledger rows.
  const DataFacts* Data(const std::string& dataId);
  // The data id of the current user's selection, read once per attach (the account lookups
  // of every posting need it): 0, kNotFound, kNotAttached or kStoreError.
  long SelectedDataId(std::string& dataId);
  // The ledger read ahead of this session; none when its connection could not be opened or
  // a fault is configured (a fault then fires where the cursor reads, as it always did).
  LedgerReadAhead* ReadAhead();

 private:
  sqlite3* db_ = nullptr;
  std::string home_;
  unsigned long generation_ = 0;
  std::unordered_map<std::string, std::unique_ptr<StoreStatement>> statements_;
  std::map<std::string, AccountMaster> accounts_;
  std::map<std::string, DataFacts> data_;
  std::optional<std::vector<StGENGOINFO>> eras_;
  std::optional<std::string> selectedDataId_;
  std::unique_ptr<LedgerReadAhead> readAhead_;
};

}  // namespace orbeck

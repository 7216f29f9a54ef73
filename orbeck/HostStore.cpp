// The session's store: read-only opening with its schema check and the in-memory masters.
#include "orbeck/HostStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreFormat.h"
#include "orbeck/StoreSeal.h"
#include "orbeck/TextField.h"
#include "platform/Faults.h"
#include "runtime/Connect.h"

namespace orbeck {

namespace {

inline constexpr int kSchemaVersion = 2;

// The schema version and the format version (when the store records one) this runtime knows;
// a newer loader's store may mean things this runtime would misread.
long CheckVersions(sqlite3* db) {
  sqlite3_stmt* version = nullptr;
  long status = kOpenFailed;
  if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr) == SQLITE_OK &&
      sqlite3_step(version) == SQLITE_ROW) {
    status = sqlite3_column_int(version, 0) == kSchemaVersion ? 0 : kWrongSchema;
  }
  sqlite3_finalize(version);
  if (status != 0) return status;
  sqlite3_stmt* format = nullptr;
  status = kOpenFailed;
  if (sqlite3_prepare_v2(db, "SELECT value FROM meta WHERE key = 'format_version'", -1, &format, nullptr) ==
      SQLITE_OK) {
    const int rc = sqlite3_step(format);
    if (rc == SQLITE_DONE) status = 0;
    if (rc == SQLITE_ROW) status = sqlite3_column_int64(format, 0) <= kFormatVersion ? 0 : kWrongSchema;
  }
  sqlite3_finalize(format);
  return status;
}

// The home folder is a UTF-8 name on every system, as SQLite takes it.
std::filesystem::path Utf8Path(const std::string& path) { return std::u8string(path.begin(), path.end()); }

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(Utf8Path(path), ec);
}

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(Utf8Path(path), ec);
}

// A store or a seal that is there but is no regular file (a FIFO, a device) is never read,
// and is named on standard error: the status alone would call the store missing or
// damaged, and send the user looking for the wrong fault.
void NameIfNotRegular(const std::filesystem::path& file) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(file, ec);
  if (ec || !std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) return;
  const std::u8string name = file.u8string();
  std::fprintf(stderr, "orbeck: %s is not a regular file; the store is not opened\n",
               reinterpret_cast<const char*>(name.c_str()));
}

}  // namespace

HostStore& HostStore::Session() {
  static HostStore session;
  return session;
}

long HostStore::Open(const std::string& homeFolder) {
  Close();
  if (homeFolder.empty() || !IsDirectory(homeFolder)) return kNoHome;
  std::string storePath = homeFolder + "/orbeck.db";
  if (!IsRegularFile(storePath)) {
    NameIfNotRegular(Utf8Path(storePath));
    return kNoStore;
  }
  sqlite3* db = nullptr;
  // The session lives on the program's one thread (the read ahead has a connection of its
  // own): no SQLite lock around every column read.
  if (sqlite3_open_v2(storePath.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    return kOpenFailed;
  }
  // Runs of the editions read one store at once. On Windows a reader takes its shared lock
  // by way of a brief pending lock, which another reader may hold at that instant: such a
  // read waits for the lock instead of failing the run.
  sqlite3_busy_timeout(db, 10000);
  long status = CheckVersions(db);
  // The read ahead's connection opens the file now, as the session's has, before the seal
  // vouches for it: both read the one file the seal was checked against.
  auto readAhead = std::make_unique<LedgerReadAhead>();
  if (status == 0 && !readAhead->Open(storePath)) readAhead.reset();
  if (status == 0 && CheckSeal(Utf8Path(storePath)) != SealCheck::Intact) {
    NameIfNotRegular(SealPathOf(Utf8Path(storePath)));
    status = kDamagedStore;
  }
  if (status != 0) {
    sqlite3_close(db);
    return status;
  }
  // The ledger reads each account's range of the ledger table front to back, so a small
  // page cache serves them; the store is not mapped, which would count the whole file
  // towards the process's memory.
  sqlite3_exec(db, "PRAGMA cache_size = -8192; PRAGMA mmap_size = 0;", nullptr, nullptr, nullptr);
  db_ = db;
  home_ = homeFolder;
  readAhead_ = std::move(readAhead);
  return 0;
}

LedgerReadAhead* HostStore::ReadAhead() {
  return db_ != nullptr && !platform::faults::Armed() ? readAhead_.get() : nullptr;
}

void HostStore::Close() {
  // First: its thread may be reading an account master held below.
  readAhead_.reset();
  statements_.clear();
  accounts_.clear();
  data_.clear();
  eras_.reset();
  selectedDataId_.reset();
  if (db_ != nullptr) {
    sqlite3_close(db_);
    db_ = nullptr;
    ++generation_;
  }
  home_.clear();
}

StatementUse HostStore::Prepare(const char* sql) {
  if (db_ == nullptr) return StatementUse();
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    auto statement = std::make_unique<StoreStatement>(db_, sql);
    if (!statement->IsValid()) {
      ClMsgMgr::Inst().NoteReadFailure(kStoreError, ReadPointName(sql));
      return StatementUse();
    }
    found = statements_.emplace(sql, std::move(statement)).first;
  }
  found->second->Reset();
  return StatementUse(found->second.get());
}

std::optional<std::string> HostStore::Meta(std::string_view key) {
  StatementUse query = Prepare("SELECT value FROM meta WHERE key = ?1");
  if (query == nullptr) return std::nullopt;
  query->Bind(1, key);
  if (!query->Step()) return std::nullopt;
  return std::string(query->Blob(0));
}

const AccountMaster* HostStore::Accounts(const std::string& dataId) {
  if (auto found = accounts_.find(dataId); found != accounts_.end()) return &found->second;
  StatementUse query = Prepare(
      "SELECT account_code, official_name, second_name, kind, debit_nature, account_character "
      "FROM accounts WHERE data_id = ?1 ORDER BY account_code");
  if (query == nullptr) return nullptr;
  query->Bind(1, dataId);
  AccountMaster master;
  while (query->Step()) {
    StKAMOKUINFO info;
    std::memset(&info, 0, sizeof info);
    info.accountCode = static_cast<std::int32_t>(query->Int(0));
    FillNameField(info.name, sizeof info.name, query->Blob(1));
    FillNameField(info.secondName, sizeof info.secondName, query->Blob(2));
    info.kind = static_cast<std::uint8_t>(query->Int(3));
    info.debitNature = static_cast<std::uint8_t>(query->Int(4));
    info.accountCharacter = static_cast<std::int32_t>(static_cast<std::uint32_t>(query->Int(5)));
    master.codes.push_back(int32_t{info.accountCode});
    master.byCode.emplace(int32_t{info.accountCode}, info);
  }
  if (query->Failed()) return nullptr;
  return &accounts_.emplace(dataId, std::move(master)).first->second;
}

const DataFacts* HostStore::Data(const std::string& dataId) {
  if (auto found = data_.find(dataId); found != data_.end()) return &found->second;
  StatementUse query = Prepare("SELECT ord, period_start, closing_day FROM data WHERE data_id = ?1");
  if (query == nullptr) return nullptr;
  query->Bind(1, dataId);
  DataFacts facts;
  if (query->Step()) {
    facts = {query->Int(0), static_cast<std::int32_t>(query->Int(1)), static_cast<int>(query->Int(2))};
  } else if (query->Failed()) {
    return nullptr;
  }
  return &data_.emplace(dataId, facts).first->second;
}

const std::vector<StGENGOINFO>* HostStore::Eras() {
  if (eras_) return &*eras_;
  StatementUse query = Prepare("SELECT gengo_no, first_day, name FROM eras ORDER BY first_day");
  if (query == nullptr) return nullptr;
  std::vector<StGENGOINFO> eras;
  while (query->Step()) {
    StGENGOINFO era;
    std::memset(&era, 0, sizeof era);
    era.gengoNo = static_cast<std::int32_t>(query->Int(0));
    era.firstDay = static_cast<std::int32_t>(query->Int(1));
    FillTextField(era.name, sizeof era.name, query->Blob(2));
    eras.push_back(era);
  }
  if (query->Failed()) return nullptr;
  eras_ = std::move(eras);
  return &*eras_;
}

long HostStore::SelectedDataId(std::string& dataId) {
  if (selectedDataId_) {
    dataId = *selectedDataId_;
    return 0;
  }
  StatementUse query = Prepare(
      "SELECT d.data_id FROM session s JOIN users u ON CAST(u.user_id AS BLOB) = CAST(s.current_user AS "
      "BLOB) "
      "JOIN data d ON d.selected_no = u.selected_no WHERE s.id = 1");
  if (query == nullptr) return IsOpen() ? kStoreError : kNotAttached;
  if (query->Step()) {
    selectedDataId_ = std::string(query->Blob(0));
    dataId = *selectedDataId_;
    return 0;
  }
  return query->Failed() ? kStoreError : kNotFound;
}

}  // namespace orbeck

// The read ahead's thread waits for a ledger to follow, finds the next account number with
// rows in the ledger table, and reads that ledger with the cursor's own row loop.
#include "orbeck/LedgerReadAhead.h"

#include <sqlite3.h>

#include <string_view>
#include <system_error>
#include <utility>

#include "orbeck/HostStore.h"

namespace orbeck {

namespace {

constexpr const char* kNextAccountSql =
    "SELECT account_no FROM postings WHERE data_ord = ?1 AND account_no > ?2 ORDER BY account_no LIMIT 1";

// A statement of the second connection, read as the cursor reads its own; it counts its
// steps, and records no failure (the cursor reads a failed ledger again itself).
class AheadQuery {
 public:
  explicit AheadQuery(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~AheadQuery() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  AheadQuery(const AheadQuery&) = delete;
  AheadQuery& operator=(const AheadQuery&) = delete;

  void Bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) failed_ = true;
  }
  bool Step() {
    ++steps_;
    if (failed_) return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    failed_ = rc != SQLITE_DONE;
    return false;
  }
  bool Failed() const { return failed_; }
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string_view Blob(int column) const {
    const void* data = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    if (data == nullptr || size <= 0) return {};
    return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
  }
  std::uint64_t Steps() const { return steps_; }

 private:
  sqlite3_stmt* stmt_;
  bool failed_ = false;
  std::uint64_t steps_ = 0;
};

}  // namespace

LedgerReadAhead::~LedgerReadAhead() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    stop_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  sqlite3_finalize(rows_);
  sqlite3_finalize(next_);
  sqlite3_close(db_);
}

bool LedgerReadAhead::Open(const std::string& storePath) {
  if (sqlite3_open_v2(storePath.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK)
    return false;
  sqlite3_busy_timeout(db_, 10000);
  // Reading the version opens the file now, beside the session's connection.
  sqlite3_stmt* version = nullptr;
  const bool read = sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &version, nullptr) == SQLITE_OK &&
                    sqlite3_step(version) == SQLITE_ROW;
  sqlite3_finalize(version);
  return read &&
         sqlite3_exec(db_, "PRAGMA cache_size = -2048; PRAGMA mmap_size = 0;", nullptr, nullptr, nullptr) ==
             SQLITE_OK &&
         sqlite3_prepare_v3(db_, kLedgerRowsSql, -1, SQLITE_PREPARE_PERSISTENT, &rows_, nullptr) ==
             SQLITE_OK &&
         sqlite3_prepare_v3(db_, kNextAccountSql, -1, SQLITE_PREPARE_PERSISTENT, &next_, nullptr) ==
             SQLITE_OK;
}

bool LedgerReadAhead::Take(const LedgerRequest& request, PostingBuffer& postings, std::uint64_t& steps) {
  std::unique_lock lock(mutex_);
  // Finding the next account number is one seek: wait for it rather than guess.
  changed_.wait(lock, [this] { return state_ != State::Wanted; });
  if (state_ == State::Idle) return false;
  if (read_ == request) {
    changed_.wait(lock, [this] { return state_ != State::Reading; });
    const bool ready = state_ == State::Ready;
    if (ready) {
      std::swap(postings, postings_);
      steps = steps_;
      ++taken_;
    }
    state_ = State::Idle;
    return ready;
  }
  // An account without postings comes before the one read ahead: that one is still to come.
  if (read_.SameButAccount(request) && read_.accountNo > request.accountNo) return false;
  Drop(lock);
  return false;
}

void LedgerReadAhead::ReadAfter(const LedgerRequest& request, const AccountMaster* master) {
  std::unique_lock lock(mutex_);
  if (state_ != State::Idle && state_ != State::Wanted && read_.SameButAccount(request) &&
      read_.accountNo > request.accountNo)
    return;
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      return;
    }
  }
  Drop(lock);
  after_ = request;
  master_ = master;
  state_ = State::Wanted;
  ++ticket_;
  lock.unlock();
  changed_.notify_all();
}

void LedgerReadAhead::Drop(std::unique_lock<std::mutex>& lock) {
  if (state_ == State::Reading) {
    stop_ = true;
    changed_.wait(lock, [this] { return state_ != State::Reading; });
    stop_ = false;
  }
  state_ = State::Idle;
}

bool LedgerReadAhead::NextRequest(const LedgerRequest& after, const AccountMaster& master,
                                  LedgerRequest& next) {
  AheadQuery query(next_);
  query.Bind(1, after.dataOrd);
  query.Bind(2, after.accountNo);
  if (!query.Step()) return false;
  next = after;
  next.accountNo = static_cast<std::int32_t>(query.Int(0));
  std::uint32_t character = 0;
  if (const auto found = master.byCode.find(next.accountNo * 10000); found != master.byCode.end())
    character = static_cast<std::uint32_t>(found->second.accountCharacter);
  next.taxReach = TaxReachOf(character);
  return true;
}

void LedgerReadAhead::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return closing_ || state_ == State::Wanted; });
    if (closing_) return;
    const std::uint64_t ticket = ticket_;
    const LedgerRequest after = after_;
    const AccountMaster* const master = master_;
    lock.unlock();
    LedgerRequest next;
    const bool found = NextRequest(after, *master, next);
    lock.lock();
    // Dropped, or asked for another ledger, while the next account number was sought.
    if (closing_ || state_ != State::Wanted || ticket != ticket_) continue;
    if (!found) {
      state_ = State::Idle;
      changed_.notify_all();
      continue;
    }
    read_ = next;
    state_ = State::Reading;
    postings_.ClearKeepingBlocks();
    changed_.notify_all();
    lock.unlock();
    bool read = false;
    std::uint64_t steps = 0;
    {
      AheadQuery query(rows_);
      query.Bind(1, next.dataOrd);
      query.Bind(2, next.accountNo);
      query.Bind(3, next.startDate);
      query.Bind(4, next.endDate);
      try {
        read = ReadLedgerRows(query, next, postings_, &stop_);
      } catch (const std::bad_alloc&) {
        read = false;
      }
      steps = query.Steps();
    }
    lock.lock();
    state_ = read ? State::Ready : State::Failed;
    steps_ = steps;
    changed_.notify_all();
  }
}

}  // namespace orbeck

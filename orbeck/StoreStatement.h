// One prepared statement of the open store, kept and reused for the whole session.
// Reading columns never copies: BLOB views stay valid until the next Step or Reset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace orbeck {

class StoreStatement {
 public:
  StoreStatement(sqlite3* db, const char* sql);
  ~StoreStatement();
  StoreStatement(const StoreStatement&) = delete;
  StoreStatement& operator=(const StoreStatement&) = delete;

  bool IsValid() const { return stmt_ != nullptr; }
  // Clears the previous run and its bindings.
  void Reset();
  // Parameters are 1-based, as in SQL.
  void Bind(int index, std::int64_t value);
  void Bind(int index, std::string_view text);
  // True with a row; false at the end or on an error (see Failed). Every statement is a read
  // point: the fault point "StoreRead" (detail: ReadPointName) fails its Step, and any
  // failure is recorded as the connection's read failure.
  bool Step();
  bool Failed() const { return failed_; }
  // Counts steps that another connection took for this statement's query on its behalf
  // (the ledger read ahead), so that its read point is passed as often either way.
  void AddSteps(std::uint64_t steps) { steps_ += steps; }

  std::int64_t Int(int column) const;
  std::string_view Blob(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool failed_ = false;
  std::string readPoint_;
  std::uint64_t steps_ = 0;
};

// The read point's name of a statement: eight hex digits of a hash of its SQL, a blank and
// the SQL itself, so that a fault entry can name it by either (the SQL may hold commas,
// which separate fault entries).
std::string ReadPointName(std::string_view sql);
// True when the runtime's fault point fires; it then counts as a failed read of the host's
// data, like a failed statement.
bool InjectedReadFailure(std::string_view point, std::string_view detail = {});
// Counts passes of a point that were not passed through InjectedReadFailure because no fault
// was configured: a cursor adds up its rows' passes and counts them once.
void CountReadPointPasses(std::string_view point, std::uint64_t passes);

// The read points of the runtime that were passed since the last reset, for a test that
// fails each in turn: the fault entry that names the point and how often it was passed.
// A statement's steps are counted when the session that kept it closes.
struct ReadPointUse {
  std::string faultEntry;  // "StoreRead@<hash>" or the cursor's own point
  std::uint64_t passes = 0;
  std::string description;  // the statement's SQL, or the point again
};
std::vector<ReadPointUse> ReadPointUses();
void ResetReadPointUses();

// One use of a kept statement. The statement is reset when the use ends, so that no read
// transaction stays open between the runtime's calls (a reader that stops at its first row
// would otherwise keep the store's snapshot and lock).
class StatementUse {
 public:
  explicit StatementUse(StoreStatement* statement = nullptr) : statement_(statement) {}
  ~StatementUse() {
    if (statement_ != nullptr) statement_->Reset();
  }
  StatementUse(StatementUse&& other) noexcept : statement_(std::exchange(other.statement_, nullptr)) {}
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;
  StatementUse& operator=(StatementUse&&) = delete;

  StoreStatement* operator->() const { return statement_; }
  StoreStatement& operator*() const { return *statement_; }
  bool operator==(std::nullptr_t) const { return statement_ == nullptr; }

 private:
  StoreStatement* statement_;
};

}  // namespace orbeck

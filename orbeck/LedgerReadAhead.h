// The ledger read ahead: while the program works through one account's postings, a second
// connection to the same store reads the ledger of the account number that follows it in
// the ledger table, on a thread of its own, so that reading the store and building the
// ledger lines share the machine's two cores. The cursor takes the postings read ahead
// when they are the ledger it is asked for, and reads any other ledger itself, so the
// postings, their order and the statuses are the same either way. A failed read ahead is
// dropped: the cursor then reads that ledger itself and its failure is reported as always.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "orbeck/LedgerRows.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orbeck {

struct AccountMaster;

class LedgerReadAhead {
 public:
  LedgerReadAhead() = default;
  ~LedgerReadAhead();
  LedgerReadAhead(const LedgerReadAhead&) = delete;
  LedgerReadAhead& operator=(const LedgerReadAhead&) = delete;

  // Opens the second connection (read-only) and reads its schema version, so that it holds
  // the file the session's own connection opened; false when it cannot.
  bool Open(const std::string& storePath);
  // Hands over the postings read ahead for request, swapped into postings, and the steps the
  // query took; false when request is not the ledger read ahead (or its read failed).
  bool Take(const LedgerRequest& request, PostingBuffer& postings, std::uint64_t& steps);
  // Starts reading the ledger of the next account number after request's that has rows,
  // unless it is being read already. master gives its character; it must outlive the read.
  void ReadAfter(const LedgerRequest& request, const AccountMaster* master);
  // How many ledgers were handed over so far.
  std::uint64_t Taken() const { return taken_.load(std::memory_order_relaxed); }

 private:
  enum class State { Idle, Wanted, Reading, Ready, Failed };
  void Run();
  // On the thread: the request for the account number after `after`'s, with its character
  // from master; false when none.
  bool NextRequest(const LedgerRequest& after, const AccountMaster& master, LedgerRequest& next);
  // Drops the read ahead, stopping a read under way. The lock is held.
  void Drop(std::unique_lock<std::mutex>& lock);

  sqlite3* db_ = nullptr;
  sqlite3_stmt* rows_ = nullptr;
  sqlite3_stmt* next_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread thread_;
  State state_ = State::Idle;
  bool closing_ = false;
  std::atomic<bool> stop_{false};
  LedgerRequest after_;       // Wanted: the ledger whose successor is to be read
  LedgerRequest read_;        // Reading, Ready: the ledger being read
  std::uint64_t ticket_ = 0;  // counts the ledgers asked to be followed
  const AccountMaster* master_ = nullptr;
  PostingBuffer postings_;
  std::uint64_t steps_ = 0;
  std::atomic<std::uint64_t> taken_{0};
};

}  // namespace orbeck

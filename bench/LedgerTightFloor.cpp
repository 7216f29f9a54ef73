// velmora-ledger-tight-floor: the tightest floor of a ledger export that the benchmark knows.
// Untimed, it copies the store's ledger postings, only the columns a ledger row is made
// from, in ledger order, into a table of their own in a side file (OUTPUT.db); timed, it
// reads every column of every row with one aggregate scan inside SQLite (no row crosses the
// C API), then writes the given number of bytes with fdatasync as velmora-ledger-floor does.
// Usage: velmora-ledger-tight-floor STORE.db BYTES OUTPUT   (prints "rows R read S write S")
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/FloorWrite.h"

namespace {

constexpr const char* kLayOut =
    "CREATE TABLE ledger AS "
    "SELECT account_no, date, line_no, counter_kind, debit_code, debit_amount, debit_tax, "
    "credit_code, credit_amount, credit_tax, description FROM store.postings "
    "ORDER BY data_ord, account_no, date, journal_id, line_no, reach";

// Every column enters the sum, so that no column's bytes are skipped.
constexpr const char* kScan =
    "SELECT count(*), total(account_no + date + line_no + counter_kind + debit_code + debit_amount "
    "+ debit_tax + credit_code + credit_amount + credit_tax + length(description)) FROM ledger";

bool Run(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return true;
  std::fprintf(stderr, "velmora-ledger-tight-floor: %s\n", error != nullptr ? error : "error");
  sqlite3_free(error);
  return false;
}

// The side file with the ledger's table; false when the store has no ledger table.
bool LayOut(const char* store, const std::string& side) {
  std::remove(side.c_str());
  sqlite3* db = nullptr;
  bool ok = sqlite3_open_v2(side.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
                            nullptr) == SQLITE_OK;
  // The store is only read: opened read-only by its URI.
  char* attach = sqlite3_mprintf("ATTACH 'file:' || %Q || '?mode=ro' AS store", store);
  ok = ok && Run(db, attach) && Run(db, "PRAGMA journal_mode = OFF") && Run(db, kLayOut);
  sqlite3_free(attach);
  sqlite3_close(db);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: velmora-ledger-tight-floor STORE.db BYTES OUTPUT\n");
    return 2;
  }
  const std::string side = std::string(argv[3]) + ".db";
  if (!LayOut(argv[1], side)) return 1;

  auto start = std::chrono::steady_clock::now();
  sqlite3* db = nullptr;
  sqlite3_stmt* scan = nullptr;
  long long rows = -1;
  double checksum = 0;
  if (sqlite3_open_v2(side.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, kScan, -1, &scan, nullptr) == SQLITE_OK && sqlite3_step(scan) == SQLITE_ROW) {
    rows = sqlite3_column_int64(scan, 0);
    checksum = sqlite3_column_double(scan, 1);
  }
  sqlite3_finalize(scan);
  sqlite3_close(db);
  const double read = bench::Since(start);
  std::remove(side.c_str());
  if (rows < 0) return 1;

  start = std::chrono::steady_clock::now();
  if (!bench::WriteDurable(argv[3], std::atoll(argv[2]))) return 1;
  std::printf("rows %lld read %.3f write %.3f (checksum %.0f)\n", rows, read, bench::Since(start), checksum);
  return 0;
}

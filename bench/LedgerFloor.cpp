// velmora-ledger-floor: the physical floor of a ledger export, for the benchmark's ratios.
// It reads every ledger row of the store in ledger order, every column, then writes the
// given number of bytes to a file in 64 KiB blocks and makes them durable with fdatasync:
// what no export of that store and document size can undercut.
// Usage: velmora-ledger-floor STORE.db BYTES OUTPUT   (prints "rows R read S write S")
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/FloorWrite.h"

namespace {

// Steps a query to its end, touching every column; the number of rows, -1 on error.
long long ScanAll(sqlite3* db, const char* sql, long long& checksum) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return -1;
  long long rows = 0;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < sqlite3_column_count(statement); ++c) {
      if (sqlite3_column_type(statement, c) == SQLITE_BLOB) {
        checksum += sqlite3_column_bytes(statement, c);
      } else {
        checksum += sqlite3_column_int64(statement, c);
      }
    }
  }
  sqlite3_finalize(statement);
  return rc == SQLITE_DONE ? rows : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: velmora-ledger-floor STORE.db BYTES OUTPUT\n");
    return 2;
  }
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
  auto start = std::chrono::steady_clock::now();
  long long checksum = 0;
  long long rows = ScanAll(db, "SELECT * FROM postings", checksum);
  if (rows < 0) {
    // A store without the ledger-ordered table: every line once per side, dated.
    const char* sql =
        "SELECT l.*, j.date FROM journal_lines l JOIN journals j "
        "ON j.data_id = l.data_id AND j.journal_id = l.journal_id";
    rows = ScanAll(db, sql, checksum) * 2;
  }
  sqlite3_close(db);
  const double read = bench::Since(start);
  if (rows < 0) return 1;

  start = std::chrono::steady_clock::now();
  if (!bench::WriteDurable(argv[3], std::atoll(argv[2]))) return 1;
  std::printf("rows %lld read %.3f write %.3f (checksum %lld)\n", rows, read, bench::Since(start), checksum);
  return 0;
}

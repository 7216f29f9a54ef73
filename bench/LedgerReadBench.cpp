// Micro benchmark of the runtime's ledger reads: a store with a million journal lines in one
// fiscal year, then every balance row's ledger read the way the ledger pass reads it, with
// one era walk and three account-master lookups per posting. Prints the times in seconds.
// Usage: orbeck_ledger_bench [LINES]   (the store is built in a temporary folder)
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "orbeck/StoreSeal.h"
#include "runtime/OrbeckRuntime.h"

namespace {

constexpr int kAccounts = 120;

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return true;
  std::fprintf(stderr, "%s\n", error != nullptr ? error : "sqlite error");
  sqlite3_free(error);
  return false;
}

bool BuildStore(const std::filesystem::path& file, long lines) {
  std::ifstream in(std::filesystem::path(VELMORA_SCHEMA_FILE), std::ios::binary);
  std::ostringstream schema;
  schema << in.rdbuf();
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) return false;
  bool ok = Exec(db, "BEGIN;" + schema.str()) &&
            Exec(db,
                 "INSERT INTO users VALUES (CAST('u' AS BLOB), 1, 1);"
                 "INSERT INTO session VALUES (1, CAST('u' AS BLOB));"
                 "INSERT INTO data (data_id, ord, selected_no, company_name, period_start, period_end) "
                 "VALUES ('BENCH', 1, 1, CAST('Bench' AS BLOB), 20240401, 20250331);"
                 "INSERT INTO eras VALUES (4, 19890108, X'95bd90ac'), (5, 20190501, X'97df9861');");
  sqlite3_stmt* account = nullptr;
  sqlite3_stmt* journal = nullptr;
  sqlite3_stmt* line = nullptr;
  sqlite3_prepare_v2(
      db, "INSERT INTO accounts VALUES ('BENCH', ?1, CAST('Account' AS BLOB), X'', 0, 1, ?2, 0, 0, ?3, ?4)",
      -1, &account, nullptr);
  sqlite3_prepare_v2(db, "INSERT INTO journals VALUES ('BENCH', ?1, ?2, 0)", -1, &journal, nullptr);
  sqlite3_prepare_v2(db,
                     "INSERT INTO journal_lines VALUES ('BENCH', ?1, ?2, ?3, 10000, 1000, ?4, 10000, 0, "
                     "CAST('description of the line' AS BLOB), 0)",
                     -1, &line, nullptr);
  for (int a = 1; ok && a <= kAccounts; ++a) {
    for (int sub = 0; sub <= 1; ++sub) {
      sqlite3_bind_int(account, 1, a * 10000 + sub);
      sqlite3_bind_int64(account, 2, a == 1 ? 0x80880810LL : 0x80880800LL);
      sqlite3_bind_int(account, 3, sub == 0 ? 1 : 0);
      sqlite3_bind_int(account, 4, a);
      ok = sqlite3_step(account) == SQLITE_DONE;
      sqlite3_reset(account);
    }
  }
  unsigned seed = 12345;
  auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
  const long journals = lines / 2;
  for (long j = 1; ok && j <= journals; ++j) {
    int dayOfYear = static_cast<int>(j * 360 / (journals + 1));
    int month = (dayOfYear / 30 + 3) % 12 + 1;
    int year = month >= 4 ? 2024 : 2025;
    sqlite3_bind_int64(journal, 1, j);
    sqlite3_bind_int(journal, 2, year * 10000 + month * 100 + dayOfYear % 28 + 1);
    ok = sqlite3_step(journal) == SQLITE_DONE;
    sqlite3_reset(journal);
    for (int n = 1; ok && n <= 2; ++n) {
      sqlite3_bind_int64(line, 1, j);
      sqlite3_bind_int(line, 2, n);
      sqlite3_bind_int(line, 3,
                       static_cast<int>(next() % kAccounts + 1) * 10000 + static_cast<int>(next() % 2));
      sqlite3_bind_int(line, 4, static_cast<int>(next() % kAccounts + 1) * 10000);
      ok = sqlite3_step(line) == SQLITE_DONE;
      sqlite3_reset(line);
    }
  }
  sqlite3_finalize(account);
  sqlite3_finalize(journal);
  sqlite3_finalize(line);
  ok = ok && Exec(db, "COMMIT;");
  sqlite3_close(db);
  return ok;
}

long LookupAccount(int32_t code) {
  auto& accounts = *static_cast<ClSetKamoku*>(ClDataMgr::Inst().GetSetObject(1, 1));
  StFINDINFO find{};
  find.cond[0].item = 2;
  find.cond[0].comparison = 1;
  find.cond[0].valueType = 3;
  find.cond[0].longValue = code;
  long cursor = 0;
  StKAMOKUINFO info{};
  accounts.GetCursor(&cursor);
  accounts.ReadyCursor(cursor, &find);
  long status = accounts.WalkFind(cursor, &info);
  accounts.ReleaseCursor(cursor);
  return status;
}

long WalkEras() {
  auto& eras = *static_cast<ClSetGengo*>(ClDataMgr::Inst().GetSetMgr()->GetSetObject(13, 0));
  long cursor = 0;
  StGENGOINFO era{};
  eras.GetCursor(&cursor);
  eras.Ready(cursor);
  long walked = 0;
  while (eras.Walk(&era, cursor) == 0) ++walked;
  eras.ReleaseCursor(cursor);
  return walked;
}

double CpuSeconds(std::clock_t since) { return static_cast<double>(std::clock() - since) / CLOCKS_PER_SEC; }

// The two ways of finding a damaged store before reading it, each over the warm file: CPU
// seconds, which a shared machine disturbs less than elapsed time.
double SealCheckSeconds(const std::filesystem::path& store) {
  const std::clock_t start = std::clock();
  if (orbeck::CheckSeal(store) != orbeck::SealCheck::Intact) std::fprintf(stderr, "seal disagrees\n");
  return CpuSeconds(start);
}

double QuickCheckSeconds(const std::filesystem::path& store) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  const std::clock_t start = std::clock();
  Exec(db, "PRAGMA quick_check");
  const double seconds = CpuSeconds(start);
  sqlite3_close(db);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
  char pattern[] = "/tmp/velmora-bench-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return 1;
  std::filesystem::path home = pattern;
  auto start = std::chrono::steady_clock::now();
  if (!BuildStore(home / "orbeck.db", lines)) return 1;
  std::printf("store of %ld lines built in %.2f s\n", lines, Seconds(start));
  std::string sealError;
  if (!orbeck::WriteSeal(home / "orbeck.db", orbeck::SealPathOf(home / "orbeck.db"), sealError)) return 1;
  const double sealCheck = SealCheckSeconds(home / "orbeck.db");
  const double quickCheck = QuickCheckSeconds(home / "orbeck.db");
  ::setenv("ORBECK_HOME", home.c_str(), 1);
  if (ClAccConnect::Inst().Initiate() != 0) return 1;

  start = std::chrono::steady_clock::now();
  std::clock_t cpuStart = std::clock();
  ClRuleKamoku balances;
  balances.SetCurDataID("BENCH");
  balances.MoveReady(1, 0, 0, nullptr, nullptr, 0);
  StKAMOKUSUMINFO row{};
  long postings = 0, found = 0;
  while (balances.MoveNext(&row) == 0) {
    ClRuleMotocho ledger;
    ledger.SetCurDataID("BENCH");
    StMOTOCHOHYOJIINFO view{};
    view.accountCode = row.accountCode;
    view.startDate = 20240401;
    view.endDate = 20250331;
    ledger.MoveReady(nullptr, nullptr, &view);
    long count = 0;
    ledger.GetCount(nullptr, &view, &count);
    StMOTOCHOINFO posting{};
    for (long status = ledger.MoveFirst(&posting); status == 0; status = ledger.MoveNext(&posting)) {
      ++postings;
      found += WalkEras() > 0 ? 1 : 0;
      found += LookupAccount(posting.debitCode / 10000 * 10000) == 0 ? 1 : 0;
      found += LookupAccount(posting.debitCode) == 0 ? 1 : 0;
      found += LookupAccount(posting.creditCode) == 0 ? 1 : 0;
    }
    ledger.MoveFinish();
  }
  double read = Seconds(start);
  double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::printf(
      "%ld postings of %d ledgers read in %.2f s, %.2f s of CPU (%.2f us of CPU per posting, "
      "%ld lookups answered)\n",
      postings, kAccounts, read, cpu, cpu * 1e6 / static_cast<double>(postings ? postings : 1), found);
  std::printf(
      "store checks at attach, CPU: seal %.3f s (%.1f%% of the reads' CPU), quick_check %.3f s (%.1f%%); "
      "store of %.0f MiB\n",
      sealCheck, 100 * sealCheck / cpu, quickCheck, 100 * quickCheck / cpu,
      static_cast<double>(std::filesystem::file_size(home / "orbeck.db")) / (1 << 20));
  ClAccConnect::Inst().Terminate();
  ClAccConnect::Inst().Release();
  std::filesystem::remove_all(home);
  return 0;
}

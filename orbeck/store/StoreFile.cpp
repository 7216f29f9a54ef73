// SQLite access of the store: one transaction of inserts when writing, plain selects when reading.
#include "orbeck/store/StoreFile.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

#include <system_error>

#include "orbeck/StoreSeal.h"
#include "orbeck/store/StoreSchema.h"

namespace orbeck::store {
namespace {

// One prepared statement; Bind* take 1-based positions like SQLite.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    ok_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) == SQLITE_OK;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return ok_; }
  void Int(int pos, int64_t value) { ok_ = ok_ && sqlite3_bind_int64(stmt_, pos, value) == SQLITE_OK; }
  void Blob(int pos, const std::string& value) {
    ok_ = ok_ && sqlite3_bind_blob64(stmt_, pos, value.data(), value.size(), SQLITE_TRANSIENT) == SQLITE_OK;
  }
  void Text(int pos, const std::string& value) {
    ok_ = ok_ && sqlite3_bind_text64(stmt_, pos, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8) ==
                     SQLITE_OK;
  }
  // Runs an insert and makes the statement ready for the next one.
  bool Exec() {
    ok_ = ok_ && sqlite3_step(stmt_) == SQLITE_DONE;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    return ok_;
  }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  // Steps a select: true while a row is there.
  bool Row() {
    if (!ok_) return false;
    int rc = sqlite3_step(stmt_);
    ok_ = rc == SQLITE_ROW || rc == SQLITE_DONE;
    return rc == SQLITE_ROW;
  }
  int64_t ColumnInt(int col) const { return sqlite3_column_int64(stmt_, col); }
  std::string ColumnBytes(int col) const {
    const void* data = sqlite3_column_blob(stmt_, col);
    int size = sqlite3_column_bytes(stmt_, col);
    return data == nullptr ? std::string()
                           : std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool ok_ = false;
};

class Database {
 public:
  // SQLite takes the name in UTF-8 on every system (on Windows the native name is UTF-16).
  Database(const std::filesystem::path& path, int flags) {
    const std::u8string name = path.u8string();
    ok_ = sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db_, flags, nullptr) == SQLITE_OK;
  }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  bool Ok() const { return ok_; }
  sqlite3* Handle() const { return db_; }
  std::string Message() const { return db_ != nullptr ? sqlite3_errmsg(db_) : "cannot open the store"; }
  bool Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

bool InsertData(Database& db, const DataRecord& d, int64_t ord) {
  Statement data(
      db.Handle(),
      "INSERT INTO data (data_id, ord, selected_no, company_name, period_start, period_end, closing_day,"
      " pattern_flag, interim_closing, intro_month_index, companies_act_ready, tax_method, amount_basis,"
      " has_tax_settings) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
  data.Text(1, d.dataId);
  data.Int(2, ord);
  data.Int(3, d.selectedNo);
  data.Blob(4, d.companyName);
  data.Int(5, d.periodStart);
  data.Int(6, d.periodEnd);
  data.Int(7, d.closingDay);
  data.Int(8, d.patternFlag);
  data.Int(9, d.interimClosing);
  data.Int(10, d.introMonthIndex);
  data.Int(11, d.companiesActReady);
  data.Int(12, d.hasTaxSettings ? d.taxMethod : 0);
  data.Int(13, d.hasTaxSettings ? d.amountBasis : 0);
  data.Int(14, d.hasTaxSettings ? 1 : 0);
  if (!data.Exec()) return false;

  Statement account(
      db.Handle(),
      "INSERT INTO accounts (data_id, account_code, official_name, second_name, kind, debit_nature,"
      " account_character, flag_a, flag_b, balance_row, row_order) VALUES (?,?,?,?,?,?,?,?,?,?,?)");
  Statement sum(
      db.Handle(),
      "INSERT INTO sums (data_id, account_code, amount_set, side, entry, amount) VALUES (?,?,?,?,?,?)");
  for (std::size_t i = 0; i < d.accounts.size(); ++i) {
    const AccountRecord& a = d.accounts[i];
    account.Text(1, d.dataId);
    account.Int(2, a.code);
    account.Blob(3, a.name);
    account.Blob(4, a.secondName);
    account.Int(5, a.kind);
    account.Int(6, a.debitNature);
    account.Int(7, a.character);
    account.Int(8, a.flagA);
    account.Int(9, a.flagB);
    account.Int(10, a.balanceRow ? 1 : 0);
    account.Int(11, static_cast<int64_t>(i));
    if (!account.Exec()) return false;
    if (!a.balanceRow) continue;
    for (int set = 0; set < 2; ++set) {
      for (int side = 0; side < 2; ++side) {
        for (int e = 0; e < kEntries; ++e) {
          if (a.sums.At(set, side, e) == 0) continue;
          sum.Text(1, d.dataId);
          sum.Int(2, a.code);
          sum.Int(3, set + 1);
          sum.Text(4, side == kDebit ? "D" : "C");
          sum.Int(5, e);
          sum.Int(6, a.sums.At(set, side, e));
          if (!sum.Exec()) return false;
        }
      }
    }
  }

  Statement journal(db.Handle(),
                    "INSERT INTO journals (data_id, journal_id, date, adjustment) VALUES (?,?,?,?)");
  Statement line(
      db.Handle(),
      "INSERT INTO journal_lines (data_id, journal_id, line_no, debit_code, debit_amount, debit_tax,"
      " credit_code, credit_amount, credit_tax, description, counter_kind) VALUES (?,?,?,?,?,?,?,?,?,?,?)");
  for (const JournalRecord& j : d.journals) {
    journal.Text(1, d.dataId);
    journal.Int(2, j.id);
    journal.Int(3, j.date);
    journal.Int(4, j.adjustment);
    if (!journal.Exec()) return false;
    for (std::size_t k = 0; k < j.lines.size(); ++k) {
      const JournalLineRecord& l = j.lines[k];
      line.Text(1, d.dataId);
      line.Int(2, j.id);
      line.Int(3, static_cast<int64_t>(k + 1));
      line.Int(4, l.debitCode);
      line.Int(5, l.debitAmount);
      line.Int(6, l.debitTax);
      line.Int(7, l.creditCode);
      line.Int(8, l.creditAmount);
      line.Int(9, l.creditTax);
      line.Blob(10, l.description);
      line.Int(11, l.counterKind);
      if (!line.Exec()) return false;
    }
  }

  Statement saved(db.Handle(), "INSERT INTO saved_documents (data_id, kind, content) VALUES (?,?,?)");
  for (const auto& [kind, content] : d.savedDocuments) {
    saved.Text(1, d.dataId);
    saved.Int(2, kind);
    saved.Blob(3, content);
    if (!saved.Exec()) return false;
  }
  return true;
}

bool InsertAll(Database& db, const HostDocument& doc) {
  Statement meta(db.Handle(), "INSERT INTO meta (key, value) VALUES (?,?)");
  meta.Text(1, "package_name");
  meta.Blob(2, doc.packageName);
  if (!meta.Exec()) return false;
  meta.Text(1, "exp_sys_link");
  meta.Int(2, doc.expSysLink);
  if (!meta.Exec()) return false;
  meta.Text(1, "format_version");
  meta.Int(2, 2);
  if (!meta.Exec()) return false;

  Statement folder(db.Handle(), "INSERT INTO folders (kind, path) VALUES (?,?)");
  for (const auto& [kind, path] : doc.folders) {
    folder.Int(1, kind);
    folder.Blob(2, path);
    if (!folder.Exec()) return false;
  }
  Statement user(db.Handle(), "INSERT INTO users (user_id, selected_first, selected_no) VALUES (?,?,?)");
  for (const UserRecord& u : doc.users) {
    user.Blob(1, u.id);
    user.Int(2, u.selectedFirst);
    user.Int(3, u.selectedNo);
    if (!user.Exec()) return false;
  }
  Statement session(db.Handle(), "INSERT INTO session (id, current_user) VALUES (1, ?)");
  session.Blob(1, doc.currentUser);
  if (!session.Exec()) return false;
  Statement era(db.Handle(), "INSERT INTO eras (gengo_no, first_day, name) VALUES (?,?,?)");
  for (const EraRecord& e : doc.eras) {
    era.Int(1, e.no);
    era.Int(2, e.firstDay);
    era.Blob(3, e.name);
    if (!era.Exec()) return false;
  }
  for (std::size_t i = 0; i < doc.data.size(); ++i) {
    if (!InsertData(db, doc.data[i], static_cast<int64_t>(i))) return false;
  }
  return true;
}

bool ReadData(Database& db, DataRecord& d) {
  Statement account(
      db.Handle(),
      "SELECT account_code, official_name, second_name, kind, debit_nature, account_character, flag_a,"
      " flag_b, balance_row FROM accounts WHERE data_id = ? ORDER BY row_order");
  account.Text(1, d.dataId);
  while (account.Row()) {
    AccountRecord a;
    a.code = static_cast<int32_t>(account.ColumnInt(0));
    a.name = account.ColumnBytes(1);
    a.secondName = account.ColumnBytes(2);
    a.kind = static_cast<int>(account.ColumnInt(3));
    a.debitNature = static_cast<int>(account.ColumnInt(4));
    a.character = static_cast<uint32_t>(account.ColumnInt(5));
    a.flagA = static_cast<int>(account.ColumnInt(6));
    a.flagB = static_cast<int>(account.ColumnInt(7));
    a.balanceRow = account.ColumnInt(8) != 0;
    if (a.balanceRow) a.explicitSums = BalanceSums{};
    d.accounts.push_back(std::move(a));
  }
  if (!account.Ok()) return false;

  Statement sum(db.Handle(),
                "SELECT account_code, amount_set, side, entry, amount FROM sums WHERE data_id = ?");
  sum.Text(1, d.dataId);
  while (sum.Row()) {
    for (AccountRecord& a : d.accounts) {
      if (a.code != sum.ColumnInt(0) || !a.explicitSums) continue;
      int set = sum.ColumnInt(1) == 1 ? kSetExcluded : kSetIncluded;
      int side = sum.ColumnBytes(2) == "D" ? kDebit : kCredit;
      a.explicitSums->At(set, side, static_cast<int>(sum.ColumnInt(3))) = sum.ColumnInt(4);
      a.sums = *a.explicitSums;
    }
  }
  if (!sum.Ok()) return false;

  Statement journal(
      db.Handle(), "SELECT journal_id, date, adjustment FROM journals WHERE data_id = ? ORDER BY journal_id");
  journal.Text(1, d.dataId);
  while (journal.Row()) {
    JournalRecord j;
    j.id = static_cast<int32_t>(journal.ColumnInt(0));
    j.date = static_cast<int32_t>(journal.ColumnInt(1));
    j.adjustment = static_cast<int>(journal.ColumnInt(2));
    d.journals.push_back(std::move(j));
  }
  if (!journal.Ok()) return false;

  Statement line(
      db.Handle(),
      "SELECT debit_code, debit_amount, debit_tax, credit_code, credit_amount, credit_tax, description,"
      " counter_kind FROM journal_lines WHERE data_id = ? AND journal_id = ? ORDER BY line_no");
  for (JournalRecord& j : d.journals) {
    line.Text(1, d.dataId);
    line.Int(2, j.id);
    while (line.Row()) {
      JournalLineRecord l;
      l.debitCode = static_cast<int32_t>(line.ColumnInt(0));
      l.debitAmount = line.ColumnInt(1);
      l.debitTax = line.ColumnInt(2);
      l.creditCode = static_cast<int32_t>(line.ColumnInt(3));
      l.creditAmount = line.ColumnInt(4);
      l.creditTax = line.ColumnInt(5);
      l.description = line.ColumnBytes(6);
      l.counterKind = static_cast<int>(line.ColumnInt(7));
      j.lines.push_back(std::move(l));
    }
    if (!line.Ok()) return false;
    line.Reset();
  }

  Statement saved(db.Handle(), "SELECT kind, content FROM saved_documents WHERE data_id = ?");
  saved.Text(1, d.dataId);
  while (saved.Row()) d.savedDocuments[saved.ColumnInt(0)] = saved.ColumnBytes(1);
  return saved.Ok();
}

bool ReadAll(Database& db, HostDocument& doc) {
  Statement meta(db.Handle(), "SELECT key, value FROM meta");
  while (meta.Row()) {
    std::string key = meta.ColumnBytes(0);
    if (key == "package_name") doc.packageName = meta.ColumnBytes(1);
    if (key == "exp_sys_link") doc.expSysLink = meta.ColumnInt(1);
  }
  Statement folder(db.Handle(), "SELECT kind, path FROM folders ORDER BY kind");
  while (folder.Row()) doc.folders[folder.ColumnInt(0)] = folder.ColumnBytes(1);
  Statement user(db.Handle(), "SELECT user_id, selected_first, selected_no FROM users ORDER BY rowid");
  while (user.Row()) {
    doc.users.push_back({user.ColumnBytes(0), static_cast<int32_t>(user.ColumnInt(1)),
                         static_cast<int32_t>(user.ColumnInt(2))});
  }
  Statement session(db.Handle(), "SELECT current_user FROM session WHERE id = 1");
  if (session.Row()) doc.currentUser = session.ColumnBytes(0);
  Statement era(db.Handle(), "SELECT gengo_no, first_day, name FROM eras ORDER BY first_day");
  while (era.Row()) {
    doc.eras.push_back(
        {static_cast<int32_t>(era.ColumnInt(0)), static_cast<int32_t>(era.ColumnInt(1)), era.ColumnBytes(2)});
  }
  Statement data(
      db.Handle(),
      "SELECT data_id, selected_no, company_name, period_start, period_end, closing_day, pattern_flag,"
      " interim_closing, intro_month_index, companies_act_ready, tax_method, amount_basis,"
      " has_tax_settings FROM data ORDER BY ord");
  while (data.Row()) {
    DataRecord d;
    d.dataId = data.ColumnBytes(0);
    d.selectedNo = static_cast<int32_t>(data.ColumnInt(1));
    d.companyName = data.ColumnBytes(2);
    d.periodStart = static_cast<int32_t>(data.ColumnInt(3));
    d.periodEnd = static_cast<int32_t>(data.ColumnInt(4));
    d.closingDay = static_cast<int>(data.ColumnInt(5));
    d.patternFlag = static_cast<int32_t>(data.ColumnInt(6));
    d.interimClosing = static_cast<int32_t>(data.ColumnInt(7));
    d.introMonthIndex = static_cast<int>(data.ColumnInt(8));
    d.companiesActReady = static_cast<int>(data.ColumnInt(9));
    d.taxMethod = static_cast<int32_t>(data.ColumnInt(10));
    d.amountBasis = static_cast<int>(data.ColumnInt(11));
    d.hasTaxSettings = data.ColumnInt(12) != 0;
    doc.data.push_back(std::move(d));
  }
  if (!meta.Ok() || !folder.Ok() || !user.Ok() || !session.Ok() || !era.Ok() || !data.Ok()) return false;
  for (DataRecord& d : doc.data) {
    if (!ReadData(db, d)) return false;
  }
  return true;
}

// Makes the written file durable before it replaces the store: the loader writes without
// SQLite's own syncs (the file is new and renamed only when complete).
bool SyncFile(const std::filesystem::path& path) {
#ifdef _WIN32
  // _commit is FlushFileBuffers, which needs write access.
  int fd = ::_wopen(path.c_str(), _O_RDWR | _O_BINARY);
  if (fd < 0) return false;
  const bool synced = ::_commit(fd) == 0;
  return ::_close(fd) == 0 && synced;
#else
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
#endif
}

}  // namespace

int WriteStore(const HostDocument& document, const std::filesystem::path& storePath, std::string& error) {
  std::filesystem::path temp = storePath;
  temp += ".tmp-" + std::to_string(getpid());
  std::error_code ec;
  std::filesystem::remove(temp, ec);
  bool written = false;
  {
    Database db(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!db.Ok()) {
      error = temp.string() + ": " + db.Message();
    } else if (!db.Exec("PRAGMA page_size = 16384; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;"
                        " PRAGMA cache_size = -16384;") ||
               !db.Exec(StoreSchemaSql()) || !db.Exec("BEGIN") || !InsertAll(db, document) ||
               !db.Exec(StorePostingsSql()) || !db.Exec("COMMIT")) {
      error = temp.string() + ": " + db.Message();
    } else {
      written = true;
    }
  }
  if (written && !SyncFile(temp)) {
    error = temp.string() + ": cannot be written to disk";
    written = false;
  }
  // The seal goes in place right after the store: a reader between the two renames finds
  // them disagreeing and refuses the store rather than reading a half-replaced one.
  std::filesystem::path tempSeal = SealPathOf(temp);
  if (written) written = WriteSeal(temp, tempSeal, error);
  if (written) {
    std::filesystem::rename(temp, storePath, ec);
    if (!ec) std::filesystem::rename(tempSeal, SealPathOf(storePath), ec);
    if (ec) error = storePath.string() + ": " + ec.message();
    written = !ec;
  }
  if (!written) {
    std::filesystem::remove(temp, ec);
    std::filesystem::remove(tempSeal, ec);
  }
  return written ? 1 : 0;
}

int ReadStore(const std::filesystem::path& storePath, HostDocument& out, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::exists(storePath, ec)) {
    error = storePath.string() + ": no store";
    return 0;
  }
  Database db(storePath, SQLITE_OPEN_READONLY);
  HostDocument doc;
  if (!db.Ok() || !ReadAll(db, doc)) {
    error = storePath.string() + ": " + db.Message();
    return 0;
  }
  out = std::move(doc);
  return 1;
}

}  // namespace orbeck::store

namespace orbeck::store {

int CheckStore(const std::filesystem::path& storePath, std::vector<std::string>& problems) {
  problems.clear();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(storePath, ec)) {
    problems.push_back(storePath.string() + ": no store");
    return 0;
  }
  switch (CheckSeal(storePath)) {
    case SealCheck::Intact:
      break;
    case SealCheck::Missing:
      problems.push_back(SealPathOf(storePath).string() +
                         ": no seal (the store was not written by the loader)");
      break;
    case SealCheck::Mismatch:
      problems.push_back(storePath.string() + ": the store differs from its seal");
      break;
    case SealCheck::Unreadable:
      problems.push_back(storePath.string() + ": cannot be read");
      break;
  }
  Database db(storePath, SQLITE_OPEN_READONLY);
  sqlite3_stmt* check = nullptr;
  if (!db.Ok() ||
      sqlite3_prepare_v2(db.Handle(), "PRAGMA integrity_check", -1, &check, nullptr) != SQLITE_OK) {
    problems.push_back(storePath.string() + ": " + db.Message());
    sqlite3_finalize(check);
    return 0;
  }
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(check)) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
    const std::string line = text != nullptr ? text : "";
    if (line != "ok") problems.push_back(storePath.string() + ": " + line);
  }
  if (rc != SQLITE_DONE) problems.push_back(storePath.string() + ": " + db.Message());
  sqlite3_finalize(check);
  return problems.empty() ? 1 : 0;
}

}  // namespace orbeck::store

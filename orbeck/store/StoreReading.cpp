// Reading a store back into a HostDocument: plain selects in the orders the cursors use.
#include <filesystem>

#include "orbeck/store/StoreDatabase.h"
#include "orbeck/store/StoreFile.h"

namespace orbeck::store {
namespace {

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

}  // namespace

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

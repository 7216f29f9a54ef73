// Reading a store back into a HostDocument: plain selects in the orders the cursors use, the
// members with columns by their tables.
#include <filesystem>

#include "orbeck/store/MemberColumns.h"
#include "orbeck/store/StoreDatabase.h"
#include "orbeck/store/StoreFile.h"

namespace orbeck::store {
namespace {

bool ReadData(Database& db, DataRecord& d) {
  Statement account(db.Handle(),
                    ("SELECT " + members::Columns(members::kAccountMembers) +
                     ", flag_a, flag_b, balance_row FROM accounts WHERE data_id = ? ORDER BY row_order")
                        .c_str());
  account.Text(1, d.dataId);
  while (account.Row()) {
    AccountRecord a;
    const int at = members::ReadColumns(account, 0, members::kAccountMembers, a);
    a.flagA = static_cast<int>(account.ColumnInt(at));
    a.flagB = static_cast<int>(account.ColumnInt(at + 1));
    a.balanceRow = account.ColumnInt(at + 2) != 0;
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

  Statement journal(db.Handle(), ("SELECT " + members::Columns(members::kJournalMembers) +
                                  " FROM journals WHERE data_id = ? ORDER BY journal_id")
                                     .c_str());
  journal.Text(1, d.dataId);
  while (journal.Row()) members::ReadColumns(journal, 0, members::kJournalMembers, d.journals.emplace_back());
  if (!journal.Ok()) return false;

  Statement line(db.Handle(), ("SELECT " + members::Columns(members::kLineMembers) +
                               " FROM journal_lines WHERE data_id = ? AND journal_id = ? ORDER BY line_no")
                                  .c_str());
  for (JournalRecord& j : d.journals) {
    line.Text(1, d.dataId);
    line.Int(2, j.id);
    while (line.Row()) members::ReadColumns(line, 0, members::kLineMembers, j.lines.emplace_back());
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
    const std::string key = meta.ColumnBytes(0);
    for (const members::Member<HostDocument>& member : members::kRootMembers) {
      if (members::HasColumn(member) && key == member.column) members::ReadColumn(meta, 1, member, doc);
    }
  }
  Statement folder(db.Handle(), "SELECT kind, path FROM folders ORDER BY kind");
  while (folder.Row()) doc.folders[folder.ColumnInt(0)] = folder.ColumnBytes(1);
  Statement user(
      db.Handle(),
      ("SELECT " + members::Columns(members::kUserMembers) + " FROM users ORDER BY rowid").c_str());
  while (user.Row()) members::ReadColumns(user, 0, members::kUserMembers, doc.users.emplace_back());
  Statement session(db.Handle(), "SELECT current_user FROM session WHERE id = 1");
  if (session.Row()) doc.currentUser = session.ColumnBytes(0);
  Statement era(
      db.Handle(),
      ("SELECT " + members::Columns(members::kEraMembers) + " FROM eras ORDER BY first_day").c_str());
  while (era.Row()) members::ReadColumns(era, 0, members::kEraMembers, doc.eras.emplace_back());
  Statement data(db.Handle(),
                 ("SELECT data_id, " + members::Columns(members::kDataMembers) + ", " +
                  members::Columns(members::kTaxMembers) + ", has_tax_settings FROM data ORDER BY ord")
                     .c_str());
  while (data.Row()) {
    DataRecord& d = doc.data.emplace_back();
    d.dataId = data.ColumnBytes(0);
    int at = members::ReadColumns(data, 1, members::kDataMembers, d);
    at = members::ReadColumns(data, at, members::kTaxMembers, d);
    d.hasTaxSettings = data.ColumnInt(at) != 0;
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

// Inserts through prepared statements of many rows each, bound again for every group.
#include "orbeck/store/StoreInserts.h"

#include <algorithm>
#include <numeric>

#include "orbeck/StoreFormat.h"
#include "orbeck/store/MemberColumns.h"

namespace orbeck::store {

JournalInserts::JournalInserts(Database& db)
    : journals_(db, "INSERT INTO journals (data_id, " + members::Columns(members::kJournalMembers) + ")",
                1 + members::ColumnCount(members::kJournalMembers)),
      lines_(db,
             "INSERT INTO journal_lines (data_id, journal_id, line_no, " +
                 members::Columns(members::kLineMembers) + ")",
             3 + members::ColumnCount(members::kLineMembers)) {}

bool JournalInserts::Journals(const std::string& dataId, const std::vector<const JournalRecord*>& rows) {
  return journals_.Insert(rows.size(), [&](Statement& journal, int at, std::size_t i) {
    journal.TextRef(at, dataId);
    members::BindColumns<members::kJournalMembers>(journal, at + 1, *rows[i]);
  });
}

bool JournalInserts::Lines(const std::string& dataId, const std::vector<LineRow>& rows) {
  return lines_.Insert(rows.size(), [&](Statement& line, int at, std::size_t i) {
    line.TextRef(at, dataId);
    line.Int(at + 1, rows[i].journalId);
    line.Int(at + 2, rows[i].lineNo);
    members::BindColumns<members::kLineMembers>(line, at + 3, *rows[i].line);
  });
}

namespace {

constexpr std::size_t kAhead = 8;

// A hint only: where the compiler has no such hint, nothing.
void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

bool InsertData(Database& db, const DataRecord& d, int64_t ord, bool journalsWritten) {
  const int dataColumns =
      members::ColumnCount(members::kDataMembers) + members::ColumnCount(members::kTaxMembers);
  Statement data(db.Handle(), ("INSERT INTO data (data_id, ord, " + members::Columns(members::kDataMembers) +
                               ", " + members::Columns(members::kTaxMembers) +
                               ", has_tax_settings) VALUES (" + members::Placeholders(dataColumns + 3) + ")")
                                  .c_str());
  data.Text(1, d.dataId);
  data.Int(2, ord);
  int at = members::BindColumns<members::kDataMembers>(data, 3, d);
  at = members::BindColumns<members::kTaxMembers>(data, at, d);
  data.Int(at, d.hasTaxSettings ? 1 : 0);
  if (!data.Exec()) return false;

  const int accountColumns = members::ColumnCount(members::kAccountMembers);
  Statement account(
      db.Handle(),
      ("INSERT INTO accounts (data_id, " + members::Columns(members::kAccountMembers) +
       ", flag_a, flag_b, balance_row, row_order) VALUES (" + members::Placeholders(accountColumns + 5) + ")")
          .c_str());
  Statement sum(
      db.Handle(),
      "INSERT INTO sums (data_id, account_code, amount_set, side, entry, amount) VALUES (?,?,?,?,?,?)");
  for (std::size_t i = 0; i < d.accounts.size(); ++i) {
    const AccountRecord& a = d.accounts[i];
    account.Text(1, d.dataId);
    at = members::BindColumns<members::kAccountMembers>(account, 2, a);
    account.Int(at, a.flagA);
    account.Int(at + 1, a.flagB);
    account.Int(at + 2, a.balanceRow ? 1 : 0);
    account.Int(at + 3, static_cast<int64_t>(i));
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

  if (!journalsWritten) {
    // Journals and lines go in in key order, so both tables are written front to back.
    std::vector<std::size_t> byId(d.journals.size());
    std::iota(byId.begin(), byId.end(), std::size_t{0});
    std::sort(byId.begin(), byId.end(),
              [&d](std::size_t a, std::size_t b) { return d.journals[a].id < d.journals[b].id; });
    std::vector<const JournalRecord*> journals;
    std::vector<LineRow> lines;
    journals.reserve(byId.size());
    for (std::size_t index : byId) {
      const JournalRecord& j = d.journals[index];
      journals.push_back(&j);
      for (std::size_t k = 0; k < j.lines.size(); ++k)
        lines.push_back({j.id, static_cast<int64_t>(k + 1), &j.lines[k]});
    }
    JournalInserts inserts(db);
    if (!inserts.Ok() || !inserts.Journals(d.dataId, journals) || !inserts.Lines(d.dataId, lines))
      return false;
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

}  // namespace

bool InsertTables(Database& db, const HostDocument& doc, const std::vector<bool>& journalsWritten) {
  Statement meta(db.Handle(), "INSERT INTO meta (key, value) VALUES (?,?)");
  for (const members::Member<HostDocument>& member : members::kRootMembers) {
    if (!members::HasColumn(member)) continue;
    meta.Text(1, std::string(member.column));
    members::BindColumn(meta, 2, member, doc);
    if (!meta.Exec()) return false;
  }
  meta.Text(1, "format_version");
  meta.Int(2, kFormatVersion);
  if (!meta.Exec()) return false;

  Statement folder(db.Handle(), "INSERT INTO folders (kind, path) VALUES (?,?)");
  for (const auto& [kind, path] : doc.folders) {
    folder.Int(1, kind);
    folder.Blob(2, path);
    if (!folder.Exec()) return false;
  }
  Statement user(db.Handle(),
                 ("INSERT INTO users (" + members::Columns(members::kUserMembers) + ") VALUES (" +
                  members::Placeholders(members::ColumnCount(members::kUserMembers)) + ")")
                     .c_str());
  for (const UserRecord& u : doc.users) {
    members::BindColumns<members::kUserMembers>(user, 1, u);
    if (!user.Exec()) return false;
  }
  Statement session(db.Handle(), "INSERT INTO session (id, current_user) VALUES (1, ?)");
  session.Blob(1, doc.currentUser);
  if (!session.Exec()) return false;
  Statement era(db.Handle(), ("INSERT INTO eras (" + members::Columns(members::kEraMembers) + ") VALUES (" +
                              members::Placeholders(members::ColumnCount(members::kEraMembers)) + ")")
                                 .c_str());
  for (const EraRecord& e : doc.eras) {
    members::BindColumns<members::kEraMembers>(era, 1, e);
    if (!era.Exec()) return false;
  }
  for (std::size_t i = 0; i < doc.data.size(); ++i) {
    if (!InsertData(db, doc.data[i], static_cast<int64_t>(i), journalsWritten[i])) return false;
  }
  return true;
}

bool InsertPostings(Database& db, int64_t ord, const std::vector<PostingRow>& rows) {
  RowInserts postings(
      db,
      "INSERT INTO postings (data_ord, account_no, date, journal_id, line_no, reach, adjustment,"
      " counter_kind, debit_code, debit_amount, debit_tax, credit_code, credit_amount,"
      " credit_tax, description)",
      15);
  return postings.Ok() &&
         postings.Insert(rows.size(), [&rows, ord](Statement& posting, int at, std::size_t i) {
           // The rows visit the lines in ledger order, all over the heap: the lines a few rows
           // ahead, and their descriptions, are asked for early.
           if (i + 2 * kAhead < rows.size()) Prefetch(rows[i + 2 * kAhead].line);
           if (i + kAhead < rows.size()) Prefetch(rows[i + kAhead].line->description.data());
           const PostingRow& row = rows[i];
           const JournalLineRecord& l = *row.line;
           posting.Int(at, ord);
           posting.Int(at + 1, row.accountNo);
           posting.Int(at + 2, row.date);
           posting.Int(at + 3, row.journalId);
           posting.Int(at + 4, row.lineNo);
           posting.Int(at + 5, row.reach);
           posting.Int(at + 6, row.adjustment);
           posting.Int(at + 7, l.counterKind);
           posting.Int(at + 8, l.debitCode);
           posting.Int(at + 9, l.debitAmount);
           posting.Int(at + 10, l.debitTax);
           posting.Int(at + 11, l.creditCode);
           posting.Int(at + 12, l.creditAmount);
           posting.Int(at + 13, l.creditTax);
           posting.BlobRef(at + 14, l.description);
         });
}

}  // namespace orbeck::store

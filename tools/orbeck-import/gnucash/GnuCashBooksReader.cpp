// A GnuCash SQLite book read with SQL: the accounts first, then every split joined to its
// transaction in one pass, each transaction checked as a whole before it is kept.
#include "tools/orbeck-import/gnucash/GnuCashBooksReader.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "orbeck/store/Amount.h"
#include "tools/orbeck-import/gnucash/GnuCashAccounts.h"
#include "tools/orbeck-import/gnucash/GnuCashDates.h"

namespace orbeck::import {
namespace {

// Products of two 64-bit numerators and denominators, exact.
__extension__ typedef __int128 Wide;

struct Split {
  std::string guid, account;
  int64_t valueNum = 0, valueDenom = 1, quantityNum = 0, quantityDenom = 1;
};

struct Entry {
  std::string guid, postDate, num, description, currency;
  bool currencyYen = false;
  std::vector<Split> splits;
};

std::string Text(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
}

bool Suspense(const std::string& path) {
  return path.rfind("Imbalance-", 0) == 0 || path.rfind("Orphan-", 0) == 0;
}

class Reader {
 public:
  Reader(const std::string& path, const GnuCashOptions& options) : file_(path), options_(options) {}

  int Read(sqlite3* db, BookSink& sink, std::string& error) {
    if (!ReadGnuCashAccounts(db, accounts_, error)) {
      error = file_ + ": " + error;
      return 0;
    }
    if (!ReadTransactions(db, error) || !SuspenseEmpty(error)) return 0;
    std::vector<std::pair<std::string, std::string>> inBook;  // path, guid
    for (const auto& [guid, account] : accounts_)
      if (account.inBook) inBook.emplace_back(account.path, guid);
    std::sort(inBook.begin(), inBook.end());
    for (const auto& [path, guid] : inBook)
      if (!sink.Take(SourceAccount{path, accounts_[guid].type, file_ + ":accounts/" + guid}, error)) return 0;
    std::stable_sort(kept_.begin(), kept_.end(),
                     [](const Transaction& a, const Transaction& b) { return a.date < b.date; });
    for (const Transaction& transaction : kept_)
      if (!sink.Take(transaction, error)) return 0;
    return 1;
  }

 private:
  std::string file_;
  const GnuCashOptions& options_;
  std::unordered_map<std::string, GnuCashAccount> accounts_;
  std::vector<Transaction> kept_;
  std::map<std::string, int64_t> suspense_;  // Imbalance-/Orphan- path -> balance

  int Fail(const std::string& where, const std::string& message, std::string& error) const {
    error = file_ + ":" + where + ": " + message;
    return 0;
  }

  int ReadTransactions(sqlite3* db, std::string& error) {
    const char* sql =
        "SELECT t.guid, t.post_date, t.num, t.description, c.namespace, c.mnemonic,"
        " s.guid, s.account_guid, s.value_num, s.value_denom, s.quantity_num, s.quantity_denom"
        " FROM transactions t JOIN splits s ON s.tx_guid = t.guid"
        " LEFT JOIN commodities c ON c.guid = t.currency_guid"
        " ORDER BY t.post_date, t.guid, s.rowid";
    sqlite3_stmt* raw = nullptr;
    const int prepared = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    if (prepared != SQLITE_OK)
      return Fail("", std::string("not a GnuCash book: ") + sqlite3_errmsg(db), error);
    Entry entry;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
      const std::string guid = Text(raw, 0);
      if (guid != entry.guid) {
        if (!entry.guid.empty() && !Keep(entry, error)) return 0;
        entry = Entry{guid,
                      Text(raw, 1),
                      Text(raw, 2),
                      Text(raw, 3),
                      Text(raw, 5),
                      Text(raw, 4) == "CURRENCY" && Text(raw, 5) == "JPY",
                      {}};
      }
      entry.splits.push_back({Text(raw, 6), Text(raw, 7), sqlite3_column_int64(raw, 8),
                              sqlite3_column_int64(raw, 9), sqlite3_column_int64(raw, 10),
                              sqlite3_column_int64(raw, 11)});
    }
    if (step != SQLITE_DONE)
      return Fail("", std::string("reading the transactions: ") + sqlite3_errmsg(db), error);
    return entry.guid.empty() || Keep(entry, error);
  }

  // A split's value in ten-thousandths of a yen, refused when finer or a price.
  int Value(const Split& split, int64_t& amount, std::string& error) const {
    const std::string where = "splits/" + split.guid;
    if (split.valueDenom <= 0 || split.quantityDenom <= 0)
      return Fail(where, "a value or quantity with a denominator below 1", error);
    if (static_cast<Wide>(split.valueNum) * split.quantityDenom !=
        static_cast<Wide>(split.quantityNum) * split.valueDenom)
      return Fail(where, "its quantity differs from its value (a price or a cost)", error);
    const Wide scaled = static_cast<Wide>(split.valueNum) * 10000;
    if (scaled % split.valueDenom != 0)
      return Fail(where,
                  "value " + std::to_string(split.valueNum) + "/" + std::to_string(split.valueDenom) +
                      " has more than 4 decimals",
                  error);
    const Wide value = scaled / split.valueDenom;
    if (value > INT64_MAX || value < INT64_MIN) return Fail(where, "value does not fit", error);
    amount = static_cast<int64_t>(value);
    return 1;
  }

  int Keep(const Entry& entry, std::string& error) {
    const std::string where = "transactions/" + entry.guid;
    for (const Split& split : entry.splits) {
      const auto account = accounts_.find(split.account);
      if (account == accounts_.end())
        return Fail("splits/" + split.guid, "names no account of the book (" + split.account + ")", error);
      // A scheduled transaction's template: not part of the books.
      if (!account->second.inBook) return 1;
    }
    if (!entry.currencyYen) return Fail(where, "in " + entry.currency + ", not yen", error);
    Transaction transaction;
    std::string why;
    if (!GnuCashPostDay(entry.postDate, options_.utcOffsetMinutes, transaction.date, why))
      return Fail(where, why, error);
    transaction.slip = entry.num;
    transaction.description = entry.description;
    transaction.origin = file_ + ":" + where;
    int64_t sum = 0;
    for (const Split& split : entry.splits) {
      const GnuCashAccount& account = accounts_[split.account];
      if (!account.yen)
        return Fail("accounts/" + split.account,
                    "account '" + account.path + "' is in " + account.commodity + ", not yen", error);
      Posting posting;
      if (!Value(split, posting.amount, error)) return 0;
      posting.account = account.path;
      posting.origin = file_ + ":splits/" + split.guid;
      sum += posting.amount;
      if (Suspense(account.path)) suspense_[account.path] += posting.amount;
      transaction.postings.push_back(std::move(posting));
    }
    if (sum != 0)
      return Fail(where,
                  "does not balance: off by " + orbeck::store::FormatAmount(sum) + " (a GnuCash imbalance)",
                  error);
    kept_.push_back(std::move(transaction));
    return 1;
  }

  int SuspenseEmpty(std::string& error) const {
    std::string listed;
    for (const auto& [path, balance] : suspense_)
      if (balance != 0)
        listed += (listed.empty() ? "" : ", ") + path + " " + orbeck::store::FormatAmount(balance);
    if (listed.empty()) return 1;
    error = file_ + ": GnuCash imbalance or orphan accounts hold a balance (" + listed +
            "): assign their splits to real accounts in GnuCash first";
    return 0;
  }
};

}  // namespace

int ReadGnuCashBooks(const std::string& path, const GnuCashOptions& options, BookSink& sink,
                     std::string& error) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
  if (opened != SQLITE_OK) {
    error = path + ": cannot be opened as an SQLite book: " + (raw ? sqlite3_errmsg(raw) : "out of memory");
    return 0;
  }
  return Reader(path, options).Read(raw, sink, error);
}

}  // namespace orbeck::import

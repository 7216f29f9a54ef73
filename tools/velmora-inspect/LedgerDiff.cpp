// Accounts paired by the longest run of names in the same order in both ledgers; rows
// compared through a window of a few rows on each side.
#include "tools/velmora-inspect/LedgerDiff.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "tools/velmora-inspect/DocumentReader.h"

namespace inspect {
namespace {

// How far ahead a posting that one side lacks is looked for.
constexpr std::size_t kLookAhead = 32;

class AccountKeys {
 public:
  std::string Key(const std::string& account) {
    const int n = ++seen_[account];
    return n > 1 ? account + " #" + std::to_string(n) : account;
  }

 private:
  std::unordered_map<std::string, int> seen_;
};

class NameSink : public LedgerSink {
 public:
  void BeginForm(const LedgerForm& form) override { names.push_back(keys_.Key(form.account)); }
  void Row(const LedgerForm&, const LedgerRow&) override {}
  void EndForm(const LedgerForm&) override {}

  std::vector<std::string> names;

 private:
  AccountKeys keys_;
};

// For each account of a, the index of its partner in b or -1, and the same for b: the
// longest increasing run of b's indices among the names both share.
void PairAccounts(const std::vector<std::string>& a, const std::vector<std::string>& b,
                  std::vector<long>& ofA, std::vector<long>& ofB) {
  std::unordered_map<std::string, long> inB;
  for (std::size_t j = 0; j < b.size(); ++j) inB.emplace(b[j], static_cast<long>(j));
  std::vector<std::pair<long, long>> shared;  // (index in a, index in b)
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (const auto it = inB.find(a[i]); it != inB.end())
      shared.emplace_back(static_cast<long>(i), it->second);
  }
  std::vector<long> tails;  // per run length, the index into shared of its smallest last element
  std::vector<long> previous(shared.size(), -1);
  for (std::size_t k = 0; k < shared.size(); ++k) {
    const auto at = std::lower_bound(tails.begin(), tails.end(), shared[k].second, [&](long t, long value) {
      return shared[static_cast<std::size_t>(t)].second < value;
    });
    if (at != tails.begin()) previous[k] = *(at - 1);
    if (at == tails.end()) {
      tails.push_back(static_cast<long>(k));
    } else {
      *at = static_cast<long>(k);
    }
  }
  ofA.assign(a.size(), -1);
  ofB.assign(b.size(), -1);
  for (long k = tails.empty() ? -1 : tails.back(); k >= 0; k = previous[static_cast<std::size_t>(k)]) {
    const auto [i, j] = shared[static_cast<std::size_t>(k)];
    ofA[static_cast<std::size_t>(i)] = j;
    ofB[static_cast<std::size_t>(j)] = i;
  }
}

// The fields that say which posting a row is; amount, balance and line number may change.
bool SamePosting(const LedgerRow& a, const LedgerRow& b) {
  return a.date == b.date && a.counterAccount == b.counterAccount &&
         a.counterSubAccount == b.counterSubAccount && a.description == b.description &&
         a.subAccount == b.subAccount;
}

std::string Money(const std::string& text) {
  const auto v = ParseAmount(text);
  return v ? Accounting(*v) : text;
}

std::string RowText(const LedgerRow& row) {
  std::string counter = row.counterAccount;
  if (!row.counterSubAccount.empty()) counter += "／" + row.counterSubAccount;
  std::string text = row.date + " " + counter + " " + row.description;
  if (!row.subAccount.empty()) text += "［" + row.subAccount + "］";
  return text + " " + Money(row.amount) + "（残高 " + Money(row.balance) + "）";
}

class Comparison {
 public:
  Comparison(LedgerStream& before, LedgerStream& after, const std::function<void(const Difference&)>& report)
      : before_(before), after_(after), report_(report) {}

  // Each reads the rows of the forms given, which the streams have just handed over.
  void Disappeared(const std::string& key, const LedgerForm& form) {
    Alone(before_, key, form, Difference::Kind::Disappeared);
  }
  void Appeared(const std::string& key, const LedgerForm& form) {
    Alone(after_, key, form, Difference::Kind::Appeared);
  }

  void Pair(const std::string& key, const LedgerForm& a, const LedgerForm& b) {
    const std::string base = "総勘定元帳 / " + key;
    Amount(base + " / 期首残高", a.opening, b.opening);
    Side older(before_), newer(after_);
    while (true) {
      older.Fill();
      newer.Fill();
      if (older.rows.empty() && newer.rows.empty()) break;
      if (newer.rows.empty()) {
        RowAlone(base, older, Difference::Kind::Disappeared);
      } else if (older.rows.empty()) {
        RowAlone(base, newer, Difference::Kind::Appeared);
      } else if (SamePosting(older.rows.front(), newer.rows.front())) {
        RowPair(base, older, newer);
      } else {
        const std::size_t inNewer = Find(newer, older.rows.front());
        const std::size_t inOlder = Find(older, newer.rows.front());
        if (inNewer < kLookAhead && inNewer <= inOlder) {
          for (std::size_t k = 0; k < inNewer; ++k) RowAlone(base, newer, Difference::Kind::Appeared);
        } else if (inOlder < kLookAhead) {
          for (std::size_t k = 0; k < inOlder; ++k) RowAlone(base, older, Difference::Kind::Disappeared);
        } else {
          RowPair(base, older, newer);  // the same place, the posting itself changed
        }
      }
    }
    Amount(base + " / 期末残高", a.closing, b.closing);
    if (older.taken != newer.taken)
      Emit({Difference::Kind::Changed,
            Difference::Part::Ledger,
            base + " / 件数",
            older.taken,
            newer.taken,
            {},
            {}});
  }

 private:
  struct Side {
    explicit Side(LedgerStream& s) : stream(s) {}

    LedgerStream& stream;
    std::deque<LedgerRow> rows;
    std::int64_t taken = 0;  // rows taken off the front: the number of the front row is taken + 1
    bool ended = false;

    void Fill() {
      while (!ended && rows.size() < kLookAhead) {
        LedgerRow row;
        if (stream.NextRow(row)) {
          rows.push_back(std::move(row));
        } else {
          ended = true;
        }
      }
    }
    LedgerRow Take() {
      LedgerRow row = std::move(rows.front());
      rows.pop_front();
      ++taken;
      return row;
    }
  };

  static std::size_t Find(const Side& side, const LedgerRow& row) {
    for (std::size_t k = 1; k < side.rows.size(); ++k) {
      if (SamePosting(side.rows[k], row)) return k;
    }
    return kLookAhead;
  }

  void Emit(const Difference& d) { report_(d); }

  void Amount(const std::string& path, const std::string& before, const std::string& after) {
    if (before == after) return;
    const auto a = ParseAmount(before), b = ParseAmount(after);
    if (a && b) {
      Emit({Difference::Kind::Changed, Difference::Part::Ledger, path, a, b, {}, {}});
    } else {
      Emit({Difference::Kind::Changed, Difference::Part::Ledger, path, std::nullopt, std::nullopt, before,
            after});
    }
  }
  void Text(const std::string& path, const std::string& before, const std::string& after) {
    if (before != after)
      Emit({Difference::Kind::Changed, Difference::Part::Ledger, path, std::nullopt, std::nullopt, before,
            after});
  }

  void RowPair(const std::string& base, Side& older, Side& newer) {
    const std::string path = base + " / " + std::to_string(older.taken + 1) + "件目";
    const LedgerRow a = older.Take(), b = newer.Take();
    Text(path + " / 日付", a.date, b.date);
    Text(path + " / 行番号", a.lineNo, b.lineNo);
    Text(path + " / 補助科目", a.subAccount, b.subAccount);
    Text(path + " / 相手科目", a.counterAccount, b.counterAccount);
    Text(path + " / 相手補助科目", a.counterSubAccount, b.counterSubAccount);
    Text(path + " / 摘要", a.description, b.description);
    Amount(path + " / 金額", a.amount, b.amount);
    Amount(path + " / 残高", a.balance, b.balance);
  }

  void RowAlone(const std::string& base, Side& side, Difference::Kind kind) {
    const std::string path = base + " / " + std::to_string(side.taken + 1) + "件目";
    const std::string text = RowText(side.Take());
    Emit({kind, Difference::Part::Ledger, path, std::nullopt, std::nullopt,
          kind == Difference::Kind::Disappeared ? text : std::string(),
          kind == Difference::Kind::Appeared ? text : std::string()});
  }

  void Alone(LedgerStream& stream, const std::string& key, const LedgerForm& form, Difference::Kind kind) {
    std::int64_t rows = 0;
    for (LedgerRow row; stream.NextRow(row);) ++rows;
    const std::string text = "期首残高 " + Money(form.opening) + "、期末残高 " + Money(form.closing) + "、" +
                             std::to_string(rows) + "件";
    Emit({kind, Difference::Part::Ledger, "総勘定元帳 / " + key, std::nullopt, std::nullopt,
          kind == Difference::Kind::Disappeared ? text : std::string(),
          kind == Difference::Kind::Appeared ? text : std::string()});
  }

  LedgerStream& before_;
  LedgerStream& after_;
  const std::function<void(const Difference&)>& report_;
};

}  // namespace

std::vector<std::string> LedgerAccounts(const Source& source) {
  NameSink sink;
  (void)ReadDocument(source, ReadOptions{false}, &sink);
  return std::move(sink.names);
}

namespace {

// One side of the ledger comparison: its current form, the form's key and its place.
struct Cursor {
  explicit Cursor(LedgerStream& s) : stream(s) { Next(); }
  void Next() {
    present = stream.NextForm(form);
    if (present) key = keys.Key(form.account);
    ++index;
  }

  LedgerStream& stream;
  AccountKeys keys;
  LedgerForm form;
  std::string key;
  bool present = false;
  std::size_t index = static_cast<std::size_t>(-1);  // of form among the ledger's forms
};

}  // namespace

void CompareLedgers(LedgerStream& before, LedgerStream& after, const Source& beforeSource,
                    const Source& afterSource, const std::function<void(const Difference&)>& report) {
  Comparison comparison(before, after, report);
  Cursor a(before), b(after);
  // While both ledgers name the same accounts in the same order, which is the common case, the
  // forms pair up as they come. At the first account that differs, the lists of both ledgers'
  // accounts decide the pairs of the rest: the longest run of names in the same order.
  std::vector<long> ofBefore, ofAfter;
  std::size_t baseA = 0, baseB = 0;
  bool listed = false;
  const auto partner = [](const std::vector<long>& of, std::size_t at) {
    return at < of.size() ? of[at] : -1;
  };
  while (a.present || b.present) {
    if (!listed && a.present && b.present && a.key != b.key) {
      const std::vector<std::string> namesA = LedgerAccounts(beforeSource),
                                     namesB = LedgerAccounts(afterSource);
      baseA = a.index;
      baseB = b.index;
      const auto rest = [](const std::vector<std::string>& names, std::size_t from) {
        return std::vector<std::string>(
            names.begin() + static_cast<std::ptrdiff_t>(std::min(from, names.size())), names.end());
      };
      PairAccounts(rest(namesA, baseA), rest(namesB, baseB), ofBefore, ofAfter);
      listed = true;
    }
    const bool pairedA = !listed || partner(ofBefore, a.index - baseA) >= 0;
    const bool pairedB = !listed || partner(ofAfter, b.index - baseB) >= 0;
    if (a.present && (!b.present || !pairedA)) {
      comparison.Disappeared(a.key, a.form);
      a.Next();
    } else if (b.present && (!a.present || !pairedB)) {
      comparison.Appeared(b.key, b.form);
      b.Next();
    } else {
      // The pairs keep both orders: once the accounts of one side only are passed, the next
      // accounts of both sides are partners.
      comparison.Pair(a.key, a.form, b.form);
      a.Next();
      b.Next();
    }
  }
}

}  // namespace inspect

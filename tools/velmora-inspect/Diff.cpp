// The entries of a document and their comparison.
#include "tools/velmora-inspect/Diff.h"

#include <map>
#include <unordered_map>

#include "tools/velmora-inspect/DocumentReader.h"
#include "tools/velmora-inspect/Layout.h"

namespace inspect {
namespace {

class EntrySink : public LedgerSink {
 public:
  explicit EntrySink(std::vector<DiffEntry>& entries) : entries_(entries) {}

  void BeginLedger(const Element& report, const Element& data) override {
    AddLayout(MakeLayout(report, data));
    laidOut_ = true;
  }
  void BeginForm(const LedgerForm& form) override {
    increases_ = decreases_ = 0;
    rows_ = 0;
    base_ = "総勘定元帳 / " + form.account;
    if (const int n = ++accounts_[base_]; n > 1) base_ += " #" + std::to_string(n);
  }
  void Row(const LedgerForm&, const LedgerRow& row) override {
    ++rows_;
    if (const auto v = ParseAmount(row.amount)) (*v >= 0 ? increases_ : decreases_) += *v;
  }
  void EndForm(const LedgerForm& form) override {
    Add(base_ + " / 期首残高", ParseAmount(form.opening));
    Add(base_ + " / 増加合計", increases_);
    Add(base_ + " / 減少合計", decreases_);
    Add(base_ + " / 期末残高", ParseAmount(form.closing));
    Add(base_ + " / 件数", rows_);
  }

  void Finish(const Element& root) {
    if (laidOut_) return;
    if (const Element* data = root.Child("DATA")) AddLayout(MakeLayout(root, *data));
  }

 private:
  void Add(std::string path, std::optional<std::int64_t> amount) {
    entries_.push_back({std::move(path), amount, {}});
  }
  void AddText(std::string path, std::string text) {
    entries_.push_back({std::move(path), std::nullopt, std::move(text)});
  }

  void AddLayout(const Layout& l) {
    AddText("会社名", l.company);
    AddText("事業年度", JapaneseDate(l.periodFrom) + " ～ " + JapaneseDate(l.periodTo));
    for (const Statement& s : l.statements) {
      for (const StatementRow& row : s.rows) {
        if (row.kind != StatementRow::Kind::Heading) Add(row.path, row.amount.value_or(0));
      }
    }
    for (const ChangesRow& r : l.changes) {
      const std::string base = "株主資本等変動計算書 / " + r.component;
      Add(base + " / 当期首残高", r.opening);
      Add(base + " / 当期変動額", r.change);
      Add(base + " / 当期純利益", r.netIncome);
      Add(base + " / 当期末残高", r.closing);
    }
    std::map<std::string, int> seen;
    std::vector<std::string> stack;
    for (const NoteBlock& note : l.notes) {
      stack.resize(static_cast<std::size_t>(note.depth));
      stack.push_back(note.name);
      std::string path = "個別注記表";
      for (const std::string& s : stack) path += " / " + s;
      if (const int n = ++seen[path]; n > 1) path += " #" + std::to_string(n);
      std::string text;
      for (const std::string& line : note.lines) text += line + "\n";
      AddText(path, text);
    }
  }

  std::vector<DiffEntry>& entries_;
  bool laidOut_ = false;
  std::map<std::string, int> accounts_;
  std::string base_;
  std::int64_t increases_ = 0, decreases_ = 0, rows_ = 0;
};

std::string Signed(std::int64_t v) { return (v > 0 ? "+" : "") + WithSeparators(v); }

}  // namespace

std::vector<DiffEntry> DiffEntries(const std::string& path, std::vector<Finding>& findings) {
  std::vector<DiffEntry> entries;
  EntrySink sink(entries);
  ReadResult read = ReadDocument(path, ReadOptions{false}, &sink);
  findings = std::move(read.findings);
  if (read.complete) sink.Finish(read.root);
  return entries;
}

std::vector<Difference> Compare(const std::vector<DiffEntry>& before, const std::vector<DiffEntry>& after) {
  std::unordered_map<std::string, const DiffEntry*> newer;
  for (const DiffEntry& e : after) newer.emplace(e.path, &e);
  std::unordered_map<std::string, bool> older;
  std::vector<Difference> out;
  // Zero amounts are left out of the statements, so a zero on one side and a missing line on
  // the other are the same.
  const auto zero = [](const DiffEntry& e) { return e.amount && *e.amount == 0; };
  for (const DiffEntry& b : before) {
    older.emplace(b.path, true);
    const auto it = newer.find(b.path);
    if (it == newer.end()) {
      if (!zero(b))
        out.push_back({Difference::Kind::Disappeared, b.path, b.amount, std::nullopt, b.text, {}});
      continue;
    }
    const DiffEntry& a = *it->second;
    if (b.amount != a.amount || b.text != a.text) {
      out.push_back({Difference::Kind::Changed, b.path, b.amount, a.amount, b.text, a.text});
    }
  }
  for (const DiffEntry& a : after) {
    if (!older.count(a.path) && !zero(a)) {
      out.push_back({Difference::Kind::Appeared, a.path, std::nullopt, a.amount, {}, a.text});
    }
  }
  return out;
}

std::string FormatDifference(const Difference& d) {
  const bool isText = !d.before && !d.after;
  std::string out;
  switch (d.kind) {
    case Difference::Kind::Changed:
      out = "changed     ";
      break;
    case Difference::Kind::Appeared:
      out = "appeared    ";
      break;
    case Difference::Kind::Disappeared:
      out = "disappeared ";
      break;
  }
  out += d.path;
  if (isText) {
    if (d.kind == Difference::Kind::Changed && d.beforeText.find('\n') == std::string::npos &&
        d.afterText.find('\n') == std::string::npos) {
      out += ": " + d.beforeText + " -> " + d.afterText;
    } else {
      out += d.kind == Difference::Kind::Changed ? ": text changed" : "";
    }
    return out;
  }
  const std::int64_t b = d.before.value_or(0), a = d.after.value_or(0);
  if (d.kind == Difference::Kind::Changed) {
    out += ": " + WithSeparators(b) + " -> " + WithSeparators(a);
  } else {
    out += ": " + WithSeparators(d.kind == Difference::Kind::Appeared ? a : b);
  }
  return out + " (" + Signed(a - b) + ")";
}

}  // namespace inspect

// The statements' and the notes' entries of two layouts and their comparison, the wording of
// a difference, and both documents read side by side.
#include "tools/velmora-inspect/Diff.h"

#include <map>
#include <unordered_map>

#include "tools/velmora-inspect/LedgerDiff.h"
#include "tools/velmora-inspect/LedgerStream.h"

namespace inspect {
namespace {

struct Entry {
  Difference::Part part;
  std::string path;
  std::optional<std::int64_t> amount;  // absent for a text
  std::string text;
};

std::vector<Entry> Entries(const Layout& l) {
  std::vector<Entry> entries;
  const auto add = [&](std::string path, std::int64_t amount) {
    entries.push_back({Difference::Part::Statements, std::move(path), amount, {}});
  };
  entries.push_back({Difference::Part::Statements, "会社名", std::nullopt, l.company});
  entries.push_back({Difference::Part::Statements, "事業年度", std::nullopt,
                     JapaneseDate(l.periodFrom) + " ～ " + JapaneseDate(l.periodTo)});
  for (const Statement& s : l.statements) {
    for (const StatementRow& row : s.rows) {
      if (row.kind != StatementRow::Kind::Heading && !row.derived) add(row.path, row.amount.value_or(0));
    }
  }
  for (const ChangesRow& r : l.changes) {
    if (r.derived) continue;
    const std::string base = "株主資本等変動計算書 / " + r.component;
    add(base + " / 当期首残高", r.opening);
    add(base + " / 当期変動額", r.change);
    add(base + " / 当期純利益", r.netIncome);
    add(base + " / 当期末残高", r.closing);
  }
  std::map<std::string, int> seen;
  std::vector<std::string> stack;
  for (const NoteBlock& note : l.notes) {
    stack.resize(static_cast<std::size_t>(note.depth));
    stack.push_back(note.title);
    std::string path = "個別注記表";
    for (const std::string& s : stack) path += " / " + s;
    if (const int n = ++seen[path]; n > 1) path += " #" + std::to_string(n);
    std::string text;
    for (std::size_t i = 0; i < note.lines.size(); ++i) text += (i > 0 ? "\n" : "") + note.lines[i];
    entries.push_back({Difference::Part::Notes, path, std::nullopt, text});
  }
  return entries;
}

std::string Change(std::int64_t before, std::int64_t after) {
  const std::int64_t d = Minus(after, before);
  if (d == 0) return "";
  return " (" + Accounting(d < 0 ? Minus(0, d) : d) + (d > 0 ? " 増加)" : " 減少)");
}

}  // namespace

std::vector<Difference> CompareLayouts(const Layout& beforeLayout, const Layout& afterLayout) {
  const std::vector<Entry> before = Entries(beforeLayout), after = Entries(afterLayout);
  std::unordered_map<std::string, const Entry*> newer;
  for (const Entry& e : after) newer.emplace(e.path, &e);
  std::unordered_map<std::string, bool> older;
  std::vector<Difference> out;
  // Zero amounts are left out of the statements, so a zero on one side and a missing line on
  // the other are the same.
  const auto zero = [](const Entry& e) { return e.amount && *e.amount == 0; };
  for (const Entry& b : before) {
    older.emplace(b.path, true);
    const auto it = newer.find(b.path);
    if (it == newer.end()) {
      if (!zero(b))
        out.push_back({Difference::Kind::Disappeared, b.part, b.path, b.amount, std::nullopt, b.text, {}});
      continue;
    }
    const Entry& a = *it->second;
    if (b.amount != a.amount || b.text != a.text) {
      out.push_back({Difference::Kind::Changed, b.part, b.path, b.amount, a.amount, b.text, a.text});
    }
  }
  for (const Entry& a : after) {
    if (!older.count(a.path) && !zero(a)) {
      out.push_back({Difference::Kind::Appeared, a.part, a.path, std::nullopt, a.amount, {}, a.text});
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
    const std::string& shown = d.kind == Difference::Kind::Appeared ? d.afterText : d.beforeText;
    const bool oneLine =
        d.beforeText.find('\n') == std::string::npos && d.afterText.find('\n') == std::string::npos;
    if (d.kind == Difference::Kind::Changed) {
      out += oneLine ? ": " + d.beforeText + " -> " + d.afterText : ": text changed";
    } else if (oneLine && !shown.empty()) {
      out += ": " + shown;
    }
    return out;
  }
  const std::int64_t b = d.before.value_or(0), a = d.after.value_or(0);
  if (d.kind == Difference::Kind::Changed) {
    out += ": " + Accounting(b) + " -> " + Accounting(a);
  } else {
    out += ": " + Accounting(d.kind == Difference::Kind::Appeared ? a : b);
  }
  return out + Change(b, a);
}

DiffOutcome DiffDocuments(const Source& before, const Source& after,
                          const std::function<void(const Difference&)>& report) {
  DiffOutcome outcome;
  const auto counted = [&](const Difference& d) {
    ++(d.part == Difference::Part::Statements ? outcome.statements
       : d.part == Difference::Part::Notes    ? outcome.notes
                                              : outcome.ledger);
    report(d);
  };
  LedgerStream older(before), newer(after);
  const std::optional<Layout> beforeLayout = older.Statements();
  const std::optional<Layout> afterLayout = newer.Statements();
  if (beforeLayout && afterLayout) {
    for (const Difference& d : CompareLayouts(*beforeLayout, *afterLayout)) counted(d);
    CompareLedgers(older, newer, before, after, counted);
  }
  ReadResult beforeRead = older.Finish(), afterRead = newer.Finish();
  outcome.readable = beforeLayout && afterLayout && beforeRead.complete && afterRead.complete;
  outcome.beforeProblems = std::move(beforeRead.findings);
  outcome.afterProblems = std::move(afterRead.findings);
  return outcome;
}

}  // namespace inspect

// The HTML form of show: one page with its styles inside, readable offline in any browser.
// The ledger's sections are written to a temporary file while the document streams, since
// the table of contents before them lists the accounts; the page is then put together.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "tools/velmora-inspect/DocumentReader.h"
#include "tools/velmora-inspect/Layout.h"
#include "tools/velmora-inspect/Show.h"

namespace inspect {
namespace {

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string AmountCell(const std::optional<std::int64_t>& v) {
  if (!v) return "<td class=\"amount\"></td>";
  return std::string("<td class=\"amount") + (*v < 0 ? " negative" : "") + "\">" + Accounting(*v) + "</td>";
}

std::string AmountCell(const std::string& text) {
  const auto v = ParseAmount(text);
  return v ? AmountCell(v) : "<td class=\"amount\">" + Escape(text) + "</td>";
}

constexpr const char* kStyle = R"css(
body { font-family: "IPAGothic", "IPAPGothic", "Noto Sans CJK JP", sans-serif; margin: 2em auto; max-width: 60em;
       color: #222; line-height: 1.5; padding: 0 1em; }
h1 { font-size: 1.6em; margin-bottom: 0.2em; }
h2 { border-bottom: 2px solid #2a5d8f; padding-bottom: 0.2em; margin-top: 2em; color: #2a5d8f; }
h3 { margin-bottom: 0.3em; }
h3 small { font-weight: normal; color: #666; margin-left: 1em; }
.meta { color: #555; margin: 0; }
nav h2 { margin-top: 0.5em; }
nav { background: #f3f6f9; border: 1px solid #d5dee8; padding: 0.5em 1.5em; }
nav ol.accounts { columns: 3; font-size: 0.9em; }
table { border-collapse: collapse; width: 100%; margin: 0.5em 0; }
th { background: #e8eef4; text-align: left; padding: 0.25em 0.6em; border-bottom: 1px solid #b9c8d8; }
td { padding: 0.15em 0.6em; border-bottom: 1px solid #eef1f4; }
td.amount, th.amount { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
td.negative { color: #b22; }
tr.heading td { font-weight: bold; padding-top: 0.5em; }
tr.total td { font-weight: bold; border-top: 1px solid #999; }
.statement { max-width: 40em; }
.note p { margin: 0.1em 0 0.1em 1em; white-space: pre-wrap; }
.back { font-size: 0.85em; }
)css";

void WriteStatement(std::ostream& out, const Statement& s) {
  out << "<section id=\"" << s.id << "\">\n<h2>" << Escape(s.title) << "</h2>\n";
  out << "<table class=\"statement\"><thead><tr><th>科目</th><th "
         "class=\"amount\">金額</th></tr></thead><tbody>\n";
  for (const StatementRow& row : s.rows) {
    const char* kind = row.kind == StatementRow::Kind::Heading ? "heading"
                       : row.kind == StatementRow::Kind::Total ? "total"
                                                               : "item";
    out << "<tr class=\"" << kind << "\"><td style=\"padding-left:" << 0.6 + 1.5 * row.depth << "em\">"
        << Escape(row.label) << "</td>" << AmountCell(row.amount) << "</tr>\n";
  }
  out << "</tbody></table>\n<p class=\"back\"><a href=\"#toc\">目次へ</a></p>\n</section>\n";
}

class HtmlSink : public LedgerSink {
 public:
  explicit HtmlSink(const std::string& ledgerPath) : ledgerPath_(ledgerPath) {}

  void BeginLedger(const Element& report, const Element& data) override {
    layout_ = MakeLayout(report, data);
    ledger_.open(ledgerPath_, std::ios::binary | std::ios::trunc);
  }
  void BeginForm(const LedgerForm& form) override {
    accounts_.push_back(form.account);
    ledger_
        << "<section class=\"account\" id=\"ledger-" << form.index << "\">\n<h3>" << Escape(form.account)
        << "<small>" << Escape(form.section) << "</small></h3>\n"
        << "<table><thead><tr><th>日付</th><th>補助科目</th><th>相手科目</th><th>摘要</th>"
           "<th class=\"amount\">借方</th><th class=\"amount\">貸方</th><th class=\"amount\">残高</th></tr>"
           "</thead><tbody>\n"
        << "<tr class=\"total\"><td colspan=\"6\">期首残高</td>" << AmountCell(form.opening) << "</tr>\n";
  }
  void Row(const LedgerForm& form, const LedgerRow& row) override {
    std::string counter = row.counterAccount;
    if (!row.counterSubAccount.empty()) counter += "／" + row.counterSubAccount;
    const DebitCredit sides = ToDebitCredit(form.section, row.amount);
    ledger_ << "<tr class=\"posting\"><td>" << Escape(row.date) << "</td><td>" << Escape(row.subAccount)
            << "</td><td>" << Escape(counter) << "</td><td>" << Escape(row.description) << "</td>"
            << "<td class=\"amount\">" << Escape(sides.debit) << "</td><td class=\"amount\">"
            << Escape(sides.credit) << "</td>" << AmountCell(row.balance) << "</tr>\n";
  }
  void EndForm(const LedgerForm& form) override {
    ledger_ << "<tr class=\"total\"><td colspan=\"6\">期末残高</td>" << AmountCell(form.closing)
            << "</tr>\n</tbody></table>\n<p class=\"back\"><a href=\"#toc\">目次へ</a></p>\n</section>\n";
  }

  bool Write(const Element& root, const std::string& htmlPath) {
    if (!layout_) {
      const Element* data = root.Child("DATA");
      if (data == nullptr) return false;
      layout_ = MakeLayout(root, *data);
    }
    ledger_.close();
    const Layout& l = *layout_;
    std::ofstream out(htmlPath, std::ios::binary | std::ios::trunc);
    out << "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
        << Escape(l.company) << " 決算書</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n";
    out << "<header>\n<h1>" << Escape(l.company) << "</h1>\n<p class=\"meta\">事業年度 "
        << Escape(JapaneseDate(l.periodFrom)) << " ～ " << Escape(JapaneseDate(l.periodTo)) << "</p>\n"
        << "<p class=\"meta\">作成 " << Escape(l.programName) << " " << Escape(l.programVersion) << "（"
        << Escape(l.format) << "）</p>\n</header>\n";
    out << "<nav id=\"toc\">\n<h2>目次</h2>\n<ol>\n";
    for (const Statement& s : l.statements)
      out << "<li><a href=\"#" << s.id << "\">" << Escape(s.title) << "</a></li>\n";
    out << "<li><a href=\"#changes\">" << Escape(l.changesTitle) << "</a></li>\n";
    if (l.notesPresent) out << "<li><a href=\"#notes\">個別注記表</a></li>\n";
    if (!accounts_.empty()) {
      out << "<li><a href=\"#ledger\">総勘定元帳</a>\n<ol class=\"accounts\">\n";
      for (std::size_t i = 0; i < accounts_.size(); ++i) {
        out << "<li><a href=\"#ledger-" << i + 1 << "\">" << Escape(accounts_[i]) << "</a></li>\n";
      }
      out << "</ol></li>\n";
    }
    out << "</ol>\n</nav>\n";
    for (const Statement& s : l.statements) WriteStatement(out, s);

    out << "<section id=\"changes\">\n<h2>" << Escape(l.changesTitle) << "</h2>\n";
    out << "<table><thead><tr><th>項目</th><th class=\"amount\">当期首残高</th><th "
           "class=\"amount\">当期変動額</th>"
           "<th class=\"amount\">うち当期純利益</th><th "
           "class=\"amount\">当期末残高</th></tr></thead><tbody>\n";
    for (const ChangesRow& r : l.changes) {
      out << (r.derived ? "<tr class=\"total\"><td>" : "<tr><td>") << Escape(r.component) << "</td>"
          << AmountCell(r.opening) << AmountCell(r.change)
          << (r.netIncome != 0 ? AmountCell(r.netIncome) : AmountCell(std::nullopt)) << AmountCell(r.closing)
          << "</tr>\n";
    }
    out << "</tbody></table>\n<p class=\"back\"><a href=\"#toc\">目次へ</a></p>\n</section>\n";

    if (l.notesPresent) {
      out << "<section id=\"notes\">\n<h2>個別注記表</h2>\n";
      for (const NoteBlock& note : l.notes) {
        out << "<div class=\"note\" style=\"margin-left:" << 1.5 * note.depth << "em\">\n<h3>"
            << Escape(note.title) << "</h3>\n";
        for (const std::string& line : note.lines) out << "<p>" << Escape(line) << "</p>\n";
        out << "</div>\n";
      }
      out << "<p class=\"back\"><a href=\"#toc\">目次へ</a></p>\n</section>\n";
    }
    if (!accounts_.empty()) {
      out << "<section id=\"ledger\">\n<h2>総勘定元帳</h2>\n";
      std::ifstream in(ledgerPath_, std::ios::binary);
      out << in.rdbuf();
      out << "</section>\n";
    }
    out << "</body>\n</html>\n";
    return static_cast<bool>(out.flush());
  }

 private:
  std::string ledgerPath_;
  std::ofstream ledger_;
  std::optional<Layout> layout_;
  std::vector<std::string> accounts_;
};

}  // namespace

std::vector<Finding> ShowAsHtml(const Source& source, const std::string& htmlPath) {
  const std::string ledgerPath = htmlPath + ".ledger.part";
  const std::string pagePath = htmlPath + ".part";
  HtmlSink sink(ledgerPath);
  ReadResult read = ReadDocument(source, ReadOptions{false}, &sink);
  std::error_code ignored;
  if (read.complete) {
    if (sink.Write(read.root, pagePath)) {
      std::filesystem::rename(pagePath, htmlPath, ignored);
      if (ignored)
        read.findings.push_back({Severity::Error, 0, "", "the page cannot be written to " + htmlPath});
    } else {
      read.findings.push_back({Severity::Error, 0, "", "the page cannot be written to " + htmlPath});
    }
  }
  std::filesystem::remove(ledgerPath, ignored);
  std::filesystem::remove(pagePath, ignored);
  return read.findings;
}

}  // namespace inspect

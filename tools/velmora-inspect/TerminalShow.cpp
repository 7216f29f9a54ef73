// The terminal form of show: a heading per part, a table per statement.
#include <memory>
#include <ostream>

#include "tools/velmora-inspect/DocumentReader.h"
#include "tools/velmora-inspect/Layout.h"
#include "tools/velmora-inspect/Show.h"
#include "tools/velmora-inspect/TextTable.h"

namespace inspect {
namespace {

std::string Money(const std::optional<std::int64_t>& v) { return v ? Accounting(*v) : ""; }

std::string MoneyText(const std::string& text) {
  const auto v = ParseAmount(text);
  return v ? Accounting(*v) : text;
}

void Title(std::ostream& out, const std::string& title) { out << "\n■ " << title << "\n\n"; }

void PrintLayout(const Layout& layout, std::ostream& out) {
  out << layout.company << "\n";
  out << "事業年度 " << JapaneseDate(layout.periodFrom) << " ～ " << JapaneseDate(layout.periodTo) << "\n";
  out << "作成 " << layout.programName << " " << layout.programVersion << " (" << layout.format << ")\n";
  for (const Statement& s : layout.statements) {
    Title(out, s.title);
    TextTable table({{"科目", false}, {"金額", true}});
    for (const StatementRow& row : s.rows) {
      const std::string indent(static_cast<std::size_t>(row.depth) * 2, ' ');
      table.AddRow({indent + row.label, Money(row.amount)});
    }
    out << table.Render();
  }
  Title(out, layout.changesTitle);
  if (layout.changes.empty()) {
    out << "(金額のある項目はありません)\n";
  } else {
    TextTable table({{"項目", false},
                     {"当期首残高", true},
                     {"当期変動額", true},
                     {"うち当期純利益", true},
                     {"当期末残高", true}});
    for (const ChangesRow& r : layout.changes) {
      if (r.derived) table.AddRule();
      table.AddRow({r.component, Accounting(r.opening), Accounting(r.change),
                    r.netIncome != 0 ? Accounting(r.netIncome) : "", Accounting(r.closing)});
    }
    out << table.Render();
  }
  if (layout.notesPresent) {
    Title(out, "個別注記表");
    if (layout.notes.empty()) out << "(表示する注記はありません)\n";
    for (const NoteBlock& note : layout.notes) {
      const std::string indent(static_cast<std::size_t>(note.depth) * 2, ' ');
      out << indent << "【" << note.title << "】\n";
      for (const std::string& line : note.lines) out << indent << "  " << line << "\n";
    }
  }
}

// Prints the statements when the ledger begins (or at the end, for a document without
// one), then the ledger as it streams.
class TerminalSink : public LedgerSink {
 public:
  TerminalSink(const ShowOptions& options, std::ostream& out) : options_(options), out_(out) {}

  void BeginLedger(const Element& report, const Element& data) override {
    PrintLayout(MakeLayout(report, data), out_);
    printed_ = true;
    Title(out_, "総勘定元帳");
    if (!options_.ledgerRows) {
      summary_ = std::make_unique<TextTable>(std::vector<TextTable::Column>{
          {"勘定科目", false}, {"区分", false}, {"期首残高", true}, {"期末残高", true}, {"件数", true}});
    }
  }
  void BeginForm(const LedgerForm& form) override {
    rows_ = 0;
    if (!options_.ledgerRows) return;
    out_ << "\n"
         << form.account << "（" << form.section << "）  期首残高 " << MoneyText(form.opening) << "\n";
    out_ << FitLeft("日付", 16) << "  " << FitLeft("相手科目", 24) << "  " << FitLeft("摘要", 40) << "  "
         << FitRight("借方", 15) << "  " << FitRight("貸方", 15) << "  " << FitRight("残高", 15) << "\n";
  }
  void Row(const LedgerForm& form, const LedgerRow& row) override {
    ++rows_;
    if (!options_.ledgerRows) return;
    std::string counter = row.counterAccount;
    if (!row.counterSubAccount.empty()) counter += "／" + row.counterSubAccount;
    std::string description = row.description;
    if (!row.subAccount.empty()) description = "［" + row.subAccount + "］" + description;
    const DebitCredit sides = ToDebitCredit(form.section, row.amount);
    out_ << FitLeft(row.date, 16) << "  " << FitLeft(counter, 24) << "  " << FitLeft(description, 40) << "  "
         << FitRight(sides.debit, 15) << "  " << FitRight(sides.credit, 15) << "  "
         << FitRight(MoneyText(row.balance), 15) << "\n";
  }
  void EndForm(const LedgerForm& form) override {
    if (options_.ledgerRows) {
      out_ << "期末残高 " << MoneyText(form.closing) << "（" << rows_ << "件）\n";
    } else if (summary_) {
      summary_->AddRow({form.account, form.section, MoneyText(form.opening), MoneyText(form.closing),
                        std::to_string(rows_)});
    }
  }

  void Finish(const Element& root) {
    if (!printed_) {
      if (const Element* data = root.Child("DATA")) PrintLayout(MakeLayout(root, *data), out_);
    }
    if (summary_) out_ << summary_->Render();
  }

 private:
  const ShowOptions& options_;
  std::ostream& out_;
  bool printed_ = false;
  long rows_ = 0;
  std::unique_ptr<TextTable> summary_;
};

}  // namespace

std::vector<Finding> ShowInTerminal(const Source& source, const ShowOptions& options, std::ostream& out) {
  TerminalSink sink(options, out);
  ReadResult read = ReadDocument(source, ReadOptions{false}, &sink);
  if (read.complete) sink.Finish(read.root);
  return read.findings;
}

}  // namespace inspect

// The document as a reader sees it: every statement as rows of headings, items and totals
// with their depth, the statement of changes as one row per component, the notes as text
// under their Japanese titles. The totals an accountant looks for and the document does not
// write are added (負債・純資産合計; 株主資本合計 and 純資産合計 in the statement of changes),
// marked as derived. The terminal, the HTML page and the comparison all start from this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Report.h"

namespace inspect {

struct StatementRow {
  enum class Kind { Heading, Item, Total };
  Kind kind = Kind::Item;
  int depth = 0;
  std::string label;
  std::optional<std::int64_t> amount;
  std::string path;      // label path: statement / sections / label, unique within the document
  bool derived = false;  // a total the inspector adds up, not one the document writes
};

struct Statement {
  std::string id;     // the element name: BalanceSheet, IncomeStatement, ...
  std::string title;  // 貸借対照表, ...
  std::vector<StatementRow> rows;
};

struct ChangesRow {
  std::string component;
  std::int64_t opening = 0, change = 0, netIncome = 0, closing = 0;
  bool derived = false;  // 株主資本合計 or 純資産合計, the sum of the rows above it
};

struct NoteBlock {
  int depth = 0;
  std::string name;   // the element name of the note
  std::string title;  // its Japanese title
  std::vector<std::string> lines;
};

struct Layout {
  std::string company, periodFrom, periodTo, programName, programVersion, format;
  std::vector<Statement> statements;  // balance sheet, income statement, manufacturing cost
  std::string changesTitle;           // 株主資本等変動計算書 or 社員資本等変動計算書
  std::vector<ChangesRow> changes;
  bool notesPresent = false;
  std::vector<NoteBlock> notes;
};

// report: REPORT with SYSTEM and BASIC; data: DATA with the statements (the ledger is not
// needed and may still be streaming).
Layout MakeLayout(const Element& report, const Element& data);

// A ledger posting's amount in the account's own direction (an increase positive) as the
// debit and credit columns show it: an increase of an asset or an expense is a debit, of a
// liability, net assets or a revenue a credit; section is the form's statement group.
struct DebitCredit {
  std::string debit, credit;  // one of them holds the amount, the other is empty
};
DebitCredit ToDebitCredit(const std::string& section, const std::string& amount);

// "20240401" -> "2024年4月1日"; other text unchanged.
std::string JapaneseDate(const std::string& yyyymmdd);

}  // namespace inspect

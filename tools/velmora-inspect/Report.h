// What the inspector reads from a statement document: everything before the general ledger
// as a small tree of elements, and the ledger as forms and rows handed over one at a time,
// so that a ledger of any length passes through in constant memory. Text is UTF-8 here:
// libxml2 delivers it so and the terminal and the HTML page take it so; code page 932 stays
// at the input edge (and measures display widths).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace inspect {

struct Element {
  std::string name;
  std::optional<std::string> label;   // the Label attribute
  std::optional<std::string> amount;  // the Amount attribute, possibly empty (zero)
  std::string text;
  long line = 0;
  std::vector<Element> children;

  const Element* Child(std::string_view childName) const;
  std::string ChildText(std::string_view childName) const;  // empty when absent
};

// One general-ledger account (HJ00780S01) without its rows.
struct LedgerForm {
  std::string account;  // HJ00780S0010
  std::string section;  // HJ00780S0020
  std::string opening;  // HJ00780S0030, as written
  std::string closing;  // HJ00780S0040
  long closingLine = 0;
  long index = 0;  // 1 for the first form of the document
};

// One posting (HJ00780S02).
struct LedgerRow {
  std::string lineNo, date, subAccount, counterAccount, counterSubAccount, description;
  std::string amount, balance;
  long balanceLine = 0;
};

// Receives the ledger as it streams by; the reader keeps nothing of it.
class LedgerSink {
 public:
  virtual ~LedgerSink() = default;
  // The ledger starts: everything before it is read (report: REPORT with SYSTEM and BASIC;
  // data: DATA with the statements and the notes).
  virtual void BeginLedger(const Element& /*report*/, const Element& /*data*/) {}
  virtual void BeginForm(const LedgerForm& form) = 0;
  virtual void Row(const LedgerForm& form, const LedgerRow& row) = 0;
  virtual void EndForm(const LedgerForm& form) = 0;
};

// Amounts as the writer prints them: decimal whole yen, a minus sign, no separators; at most
// 18 digits, so that a value's negation is one too.
std::optional<std::int64_t> ParseAmount(std::string_view text);
// An Amount attribute: empty means zero.
std::optional<std::int64_t> ParseAttributeAmount(std::string_view text);
// 1234567 -> "1,234,567", -5 -> "-5".
std::string WithSeparators(std::int64_t yen);
// The accountant's form: 1234567 -> "1,234,567", -5 -> "△5".
std::string Accounting(std::int64_t yen);

// Sums of amounts from a document of any content: beyond the range they stay at its end
// rather than overflow.
std::int64_t Plus(std::int64_t a, std::int64_t b);
std::int64_t Minus(std::int64_t a, std::int64_t b);

// A label as an element path shows it: cut to at most 96 bytes (whole UTF-8 characters,
// "…" marking the cut), so that a path stays short whatever the document holds.
std::string PathLabel(std::string_view label);

}  // namespace inspect

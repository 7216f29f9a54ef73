// The general-ledger forms HJ00780S: one HJ00780S01 form per account with ledger records,
// in the order of the statement lines, with one HJ00780S02 row per record. The records
// come grouped by account in that same order, so one cursor walks them once.
#include <charconv>
#include <string>
#include <string_view>

#include "runstate/AccountCharacter.h"
#include "xmlout/AmountFormat.h"
#include "xmlout/CleanName.h"
#include "xmlout/FieldText.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

int StatementWriter::WriteLedgerForms(XmlElementWriter& xml) {
  if (inputs_.ledgerLines == nullptr || inputs_.ledgerLines->empty()) {
    return 1;
  }
  if (!xml.StartElement("HJ00780S", 2)) return 0;
  ledgerCursor_ = 0;
  ledgerNames_.clear();
  for (const StatementLine& line : Lines()) {
    if (ledgerCursor_ >= inputs_.ledgerLines->size()) {
      break;
    }
    if ((*inputs_.ledgerLines)[ledgerCursor_].accountCode != line.accountCode) {
      continue;
    }
    if (!xml.StartElement("HJ00780S01", 3)) return 0;
    if (!xml.WriteElement("HJ00780S0010", CleanName(FieldText(line.officialName)), 4)) {
      return 0;
    }
    if (!xml.WriteElement("HJ00780S0020", SectionNameOf(line.accountCharacter), 4)) return 0;
    if (!xml.WriteElement("HJ00780S0030", FormatYen(ToYen(line.openingAmount)), 4)) return 0;
    if (!xml.WriteElement("HJ00780S0040", FormatYen(ToYen(line.closingAmount)), 4)) return 0;
    if (WriteLedgerRows(xml) != 1) return 0;
    if (!xml.EndElement("HJ00780S01", 3)) return 0;
  }
  return xml.EndElement("HJ00780S", 2);
}

int StatementWriter::WriteLedgerRows(XmlElementWriter& xml) {
  if (inputs_.ledgerLines == nullptr || ledgerCursor_ >= inputs_.ledgerLines->size()) {
    return 1;
  }
  // A ledger runs to millions of rows: the numbers of a row are formatted on the stack, and
  // a name is cleaned and escaped once for the whole ledger (names are kept once per list,
  // so a kept name is known by where it is kept).
  auto name = [this](LedgerText kept) -> std::string_view {
    const auto [entry, added] = ledgerNames_.try_emplace(kept.Identity());
    if (added) entry->second = XmlElementWriter::EscapeText(CleanName(kept.View()));
    return entry->second;
  };
  char lineNo[16];
  char amount[24];
  char balance[24];
  auto number = [](char* out, std::size_t size, int64_t value) {
    return std::string_view(out, static_cast<std::size_t>(std::to_chars(out, out + size, value).ptr - out));
  };
  const int32_t accountCode = (*inputs_.ledgerLines)[ledgerCursor_].accountCode;
  while (ledgerCursor_ < inputs_.ledgerLines->size() &&
         (*inputs_.ledgerLines)[ledgerCursor_].accountCode == accountCode) {
    const LedgerLine& row = (*inputs_.ledgerLines)[ledgerCursor_];
    xml.BeginLines();
    xml.AddStartLine("HJ00780S02", 4);
    xml.AddPlainLine("HJ00780S0050", number(lineNo, sizeof lineNo, row.lineNo), 5);
    xml.AddTextLine("HJ00780S0060", row.dateText.View(), 5);
    xml.AddPlainLine("HJ00780S0070", name(row.subAccountName), 5);
    xml.AddPlainLine("HJ00780S0080", name(row.counterAccountName), 5);
    xml.AddPlainLine("HJ00780S0090", name(row.counterSubAccountName), 5);
    xml.AddTextLine("HJ00780S0100", row.description.View(), 5);
    xml.AddPlainLine("HJ00780S0110", number(amount, sizeof amount, ToYen(row.amount)), 5);
    xml.AddPlainLine("HJ00780S0120", number(balance, sizeof balance, ToYen(row.balance)), 5);
    xml.AddEndLine("HJ00780S02", 4);
    if (!xml.WriteLines()) return 0;
    ++ledgerCursor_;
  }
  return 1;
}

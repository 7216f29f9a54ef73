// The balance sheet, the income statement and the schedule of cost of goods manufactured:
// section elements labelled from their own total lines, Item elements selected by account
// character, and total elements. Totals are host rows of their own, never computed here.
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/Cp932.h"
#include "platform/ui/Window.h"
#include "xmlout/AmountFormat.h"
#include "xmlout/CleanName.h"
#include "xmlout/FieldText.h"
#include "xmlout/LineSelection.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

namespace {

// Noncurrent-asset lines without a subsection, written under each of the three subsections.
constexpr std::array<uint32_t, 3> kUnclassifiedNoncurrentCodes{0x80840000u, 0x80840008u, 0x80840004u};

// Income-statement result lines that share the mask of the tax items but are totals.
constexpr std::array<uint32_t, 3> kIncomeTaxExcluded{0x40200080u, 0x40200020u, 0x40200010u};

// The income statement and the manufacturing cost schedule, in writing order; every row
// sits at level 3 under the statement's root, items one level deeper.
using Row = StatementWriter::StatementRow;
constexpr Row kIncomeStatementRows[] = {
    {Row::Kind::Section, 0x40888000u, "NetSales"},
    {Row::Kind::Section, 0x40884000u, "CostOfSales"},
    {Row::Kind::Total, 0x40880008u, "GrossProfit"},
    {Row::Kind::Section, 0x40882000u, "SellingGeneralAndAdministrativeExpenses"},
    {Row::Kind::Total, 0x40880000u, "OperatingIncome"},
    {Row::Kind::Section, 0x40848000u, "NonOperatingIncome"},
    {Row::Kind::Section, 0x40844000u, "NonOperatingExpenses"},
    {Row::Kind::Total, 0x40800000u, "OrdinaryIncome"},
    {Row::Kind::Section, 0x40480000u, "ExtraordinaryIncome"},
    {Row::Kind::Section, 0x40440000u, "ExtraordinaryLoss"},
    {Row::Kind::Total, 0x40200080u, "IncomeBeforeIncomeTaxes"},
    {Row::Kind::IncomeTaxes, 0, "IncomeTaxes"},
    {Row::Kind::Total, 0x40200040u, "NetIncome"},
};
constexpr Row kManufacturingCostRows[] = {
    {Row::Kind::Section, 0x20800000u, "MaterialCost"},
    {Row::Kind::Section, 0x20400000u, "LaborCost"},
    {Row::Kind::SectionWithOwnLine, 0x20040000u, "SubcontractCost"},
    {Row::Kind::Section, 0x20200000u, "OverheadExpenses"},
    {Row::Kind::Total, 0x20080000u, "TotalProductionCostUtilized"},
    {Row::Kind::Section, 0x20108000u, "WorkProcessBeginningInventories"},
    {Row::Kind::Total, 0x20100008u, "SubtotalScheduleCostGoodsManufactured"},
    {Row::Kind::Section, 0x20102000u, "WorkProcessClosingInventories"},
    {Row::Kind::Total, 0x40884200u, "CostFinishedGoods"},
};

std::string UnclassifiedWarningText(const StatementLine& line) {
  return SJ("以下の科目は、正しい分類に出力することができません。\r\n"
            "科目性格を見直す必要があります。\r\n\r\n科目コード\t： ") +
         std::to_string(line.accountCode / 10000) + SJ("\r\n正式名称\t： ") +
         std::string(FieldText(line.officialName)) +
         SJ("\r\n\r\nOrbeckの勘定科目設定画面にて、科目性格を\r\n"
            " [有形固定資産] [無形固定資産] [投資その他の資産]\r\n"
            "のいずれかに設定し、もう一度処理を行ってください。\r\n");
}

}  // namespace

int StatementWriter::WriteSectionStart(XmlElementWriter& xml, uint32_t code, const char* name, int level) {
  const StatementLine* total = FindLine(Lines(), code);
  if (total == nullptr) {
    return xml.StartElement(name, level);
  }
  const std::string label = CleanName(FieldText(total->officialName));
  const std::string amount = AmountAttribute(total->closingAmount);
  return xml.StartElement(name, level, "Label", label.c_str(), "Amount", amount.c_str());
}

int StatementWriter::WriteItemLine(XmlElementWriter& xml, const StatementLine& line, int level) {
  const std::string label = CleanName(FieldText(line.officialName));
  return xml.WriteElement("Item", FormatYen(ToYen(line.closingAmount)), level, "Label", label.c_str());
}

int StatementWriter::WriteItems(XmlElementWriter& xml, uint32_t mask, int level) {
  LineSelection selected;
  if (!SelectByMask(Lines(), mask, selected)) return 0;
  for (const StatementLine* line : selected) {
    if (ToYen(line->closingAmount) != 0 && WriteItemLine(xml, *line, level) != 1) return 0;
  }
  return 1;
}

int StatementWriter::WriteTotalLine(XmlElementWriter& xml, uint32_t code, const char* name, int level) {
  const StatementLine* total = FindLine(Lines(), code);
  if (total == nullptr) {
    return 1;
  }
  std::string label = CleanName(FieldText(total->altName));
  if (label.empty()) {
    label = CleanName(FieldText(total->officialName));
  }
  const std::string amount = AmountAttribute(total->closingAmount);
  return xml.WriteElement(name, "", level, "Label", label.c_str(), "Amount", amount.c_str());
}

int StatementWriter::WriteIncomeTaxItems(XmlElementWriter& xml, int level) {
  LineSelection selected;
  if (!SelectByMask(Lines(), 0x40200000u, selected)) return 0;
  for (const StatementLine* line : selected) {
    const auto character = static_cast<uint32_t>(line->accountCharacter);
    const bool excluded = std::ranges::find(kIncomeTaxExcluded, character) != kIncomeTaxExcluded.end();
    if (!excluded && ToYen(line->closingAmount) != 0 && WriteItemLine(xml, *line, level) != 1) {
      return 0;
    }
  }
  return 1;
}

int StatementWriter::WriteUnclassifiedNoncurrent(XmlElementWriter& xml, int level, int warn) {
  for (const uint32_t code : kUnclassifiedNoncurrentCodes) {
    LineSelection selected;
    if (!SelectExact(Lines(), code, selected)) return 0;
    for (const StatementLine* line : selected) {
      if (ToYen(line->closingAmount) == 0) {
        continue;
      }
      if (warn == 1 && inputs_.messageOwner != 0) {
        platform::MessageBoxA(inputs_.messageOwner, UnclassifiedWarningText(*line), SJ("決算書"),
                              platform::MB_ICONWARNING | platform::MB_OK);
      }
      if (WriteItemLine(xml, *line, level) != 1) return 0;
    }
  }
  return 1;
}

int StatementWriter::WriteSection(XmlElementWriter& xml, uint32_t code, const char* name, int level) {
  if (WriteSectionStart(xml, code, name, level) != 1) return 0;
  if (WriteItems(xml, code, level + 1) != 1) return 0;
  return xml.EndElement(name, level);
}

int StatementWriter::WriteBalanceSheet(XmlElementWriter& xml) {
  if (!xml.StartElement("BalanceSheet", 2)) return 0;

  if (WriteSectionStart(xml, 0x80800000u, "Assets", 3) != 1) return 0;
  if (WriteSection(xml, 0x80880000u, "CurrentAssets", 4) != 1) return 0;
  if (WriteSectionStart(xml, 0x80840000u, "NoncurrentAssets", 4) != 1) return 0;
  struct Subsection {
    uint32_t code;
    const char* name;
    int warn;
  };
  // The unclassified lines are warned about once, under the first subsection.
  constexpr std::array<Subsection, 3> subsections{{
      {0x80848000u, "PropertyPlantAndEquipment", 1},
      {0x80844000u, "IntangibleAssets", 0},
      {0x80842000u, "InvestmentsAndOtherAssets", 0},
  }};
  for (const Subsection& sub : subsections) {
    if (WriteSectionStart(xml, sub.code, sub.name, 5) != 1) return 0;
    if (WriteItems(xml, sub.code, 6) != 1) return 0;
    if (WriteUnclassifiedNoncurrent(xml, 6, sub.warn) != 1) return 0;
    if (!xml.EndElement(sub.name, 5)) return 0;
  }
  if (!xml.EndElement("NoncurrentAssets", 4)) return 0;
  if (WriteSection(xml, 0x80820000u, "DeferredAssets", 4) != 1) return 0;
  if (!xml.EndElement("Assets", 3)) return 0;

  if (WriteSectionStart(xml, 0x80400000u, "Liabilities", 3) != 1) return 0;
  if (WriteSection(xml, 0x80480000u, "CurrentLiabilities", 4) != 1) return 0;
  if (WriteSection(xml, 0x80440000u, "NoncurrentLiabilities", 4) != 1) return 0;
  if (!xml.EndElement("Liabilities", 3)) return 0;

  if (WriteSection(xml, 0x80200000u, "NetAssets", 3) != 1) return 0;
  return xml.EndElement("BalanceSheet", 2);
}

int StatementWriter::WriteStatementRows(XmlElementWriter& xml, const char* root,
                                        std::span<const StatementRow> rows) {
  if (!xml.StartElement(root, 2)) return 0;
  for (const StatementRow& row : rows) {
    int written = 1;
    switch (row.kind) {
      case StatementRow::Kind::Section:
        written = WriteSection(xml, row.code, row.name, 3);
        break;
      case StatementRow::Kind::SectionWithOwnLine:
        if (FindLine(Lines(), row.code) != nullptr) {
          written = WriteSection(xml, row.code, row.name, 3);
        }
        break;
      case StatementRow::Kind::Total:
        written = WriteTotalLine(xml, row.code, row.name, 3);
        break;
      case StatementRow::Kind::IncomeTaxes:
        written =
            xml.StartElement(row.name, 3) && WriteIncomeTaxItems(xml, 4) == 1 && xml.EndElement(row.name, 3);
        break;
    }
    if (written != 1) return 0;
  }
  return xml.EndElement(root, 2);
}

int StatementWriter::WriteIncomeStatement(XmlElementWriter& xml) {
  return WriteStatementRows(xml, "IncomeStatement", kIncomeStatementRows);
}

int StatementWriter::WriteManufacturingCost(XmlElementWriter& xml) {
  return WriteStatementRows(xml, "ScheduleCostGoodsManufactured", kManufacturingCostRows);
}

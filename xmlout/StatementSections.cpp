// The balance sheet, the income statement and the schedule of cost of goods manufactured:
// section elements labelled from their own total lines, Item elements selected by account
// character, and total elements. Totals are host rows of their own, never computed here.
#include <array>
#include <cstdint>
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
    bool excluded = false;
    for (const uint32_t code : kIncomeTaxExcluded) {
      excluded = excluded || character == code;
    }
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
      if (warn == 1 && messageOwner != 0) {
        platform::MessageBoxA(messageOwner, UnclassifiedWarningText(*line), SJ("決算書"),
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
  if (xml.StartElement("BalanceSheet", 2) != 1) return 0;

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
    if (xml.EndElement(sub.name, 5) != 1) return 0;
  }
  if (xml.EndElement("NoncurrentAssets", 4) != 1) return 0;
  if (WriteSection(xml, 0x80820000u, "DeferredAssets", 4) != 1) return 0;
  if (xml.EndElement("Assets", 3) != 1) return 0;

  if (WriteSectionStart(xml, 0x80400000u, "Liabilities", 3) != 1) return 0;
  if (WriteSection(xml, 0x80480000u, "CurrentLiabilities", 4) != 1) return 0;
  if (WriteSection(xml, 0x80440000u, "NoncurrentLiabilities", 4) != 1) return 0;
  if (xml.EndElement("Liabilities", 3) != 1) return 0;

  if (WriteSection(xml, 0x80200000u, "NetAssets", 3) != 1) return 0;
  return xml.EndElement("BalanceSheet", 2);
}

int StatementWriter::WriteIncomeStatement(XmlElementWriter& xml) {
  if (xml.StartElement("IncomeStatement", 2) != 1) return 0;
  if (WriteSection(xml, 0x40888000u, "NetSales", 3) != 1) return 0;
  if (WriteSection(xml, 0x40884000u, "CostOfSales", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x40880008u, "GrossProfit", 3) != 1) return 0;
  if (WriteSection(xml, 0x40882000u, "SellingGeneralAndAdministrativeExpenses", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x40880000u, "OperatingIncome", 3) != 1) return 0;
  if (WriteSection(xml, 0x40848000u, "NonOperatingIncome", 3) != 1) return 0;
  if (WriteSection(xml, 0x40844000u, "NonOperatingExpenses", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x40800000u, "OrdinaryIncome", 3) != 1) return 0;
  if (WriteSection(xml, 0x40480000u, "ExtraordinaryIncome", 3) != 1) return 0;
  if (WriteSection(xml, 0x40440000u, "ExtraordinaryLoss", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x40200080u, "IncomeBeforeIncomeTaxes", 3) != 1) return 0;
  if (xml.StartElement("IncomeTaxes", 3) != 1) return 0;
  if (WriteIncomeTaxItems(xml, 4) != 1) return 0;
  if (xml.EndElement("IncomeTaxes", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x40200040u, "NetIncome", 3) != 1) return 0;
  return xml.EndElement("IncomeStatement", 2);
}

int StatementWriter::WriteManufacturingCost(XmlElementWriter& xml) {
  if (xml.StartElement("ScheduleCostGoodsManufactured", 2) != 1) return 0;
  if (WriteSection(xml, 0x20800000u, "MaterialCost", 3) != 1) return 0;
  if (WriteSection(xml, 0x20400000u, "LaborCost", 3) != 1) return 0;
  if (FindLine(Lines(), 0x20040000u) != nullptr &&
      WriteSection(xml, 0x20040000u, "SubcontractCost", 3) != 1) {
    return 0;
  }
  if (WriteSection(xml, 0x20200000u, "OverheadExpenses", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x20080000u, "TotalProductionCostUtilized", 3) != 1) return 0;
  if (WriteSection(xml, 0x20108000u, "WorkProcessBeginningInventories", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x20100008u, "SubtotalScheduleCostGoodsManufactured", 3) != 1) return 0;
  if (WriteSection(xml, 0x20102000u, "WorkProcessClosingInventories", 3) != 1) return 0;
  if (WriteTotalLine(xml, 0x40884200u, "CostFinishedGoods", 3) != 1) return 0;
  return xml.EndElement("ScheduleCostGoodsManufactured", 2);
}

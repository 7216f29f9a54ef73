// The section keys and total rows of the imported chart. The numbers follow the demo
// company's chart ten times over (its 111 is 1110 here), so that a map's own numbers sit
// beside the generated ones in the same order.
#include "tools/orbeck-import/Sections.h"

#include <cstring>

namespace orbeck::import {

namespace {
using C = SectionClass;
}

const std::vector<Section>& Sections() {
  static const std::vector<Section> sections = {
      {"bs.current.cash", 0x80880800, 1, C::Asset, 1100, 1199, 1990},
      {"bs.current.receivable", 0x80880840, 1, C::Asset, 1200, 1299, 1990},
      {"bs.current.inventory", 0x80880820, 1, C::Asset, 1300, 1399, 1990},
      {"bs.current.other", 0x80880800, 1, C::Asset, 1400, 1889, 1990},
      {"bs.current.tax-paid", 0x80880810, 1, C::Asset, 1890, 1989, 1990},
      {"bs.fixed.tangible", 0x80848100, 1, C::Asset, 2100, 2189, 2190},
      {"bs.fixed.intangible", 0x80844100, 1, C::Asset, 2200, 2289, 2290},
      {"bs.fixed.investment", 0x80842100, 1, C::Asset, 2300, 2389, 2390},
      {"bs.deferred", 0x80820100, 1, C::Asset, 2800, 2889, 2890},
      {"bs.current-liabilities", 0x80480100, 0, C::Liability, 4100, 4389, 4490},
      {"bs.current-liabilities.tax-payable", 0x80484020, 0, C::Liability, 4390, 4439, 4490},
      {"bs.current-liabilities.tax-received", 0x80484010, 0, C::Liability, 4440, 4489, 4490},
      {"bs.noncurrent-liabilities", 0x80440100, 0, C::Liability, 4500, 4589, 4590},
      {"na.capital", 0x80288000, 0, C::Equity, 5100, 5199, 5390},
      {"na.capital-reserve", 0x80282080, 0, C::Equity, 5200, 5249, 5390},
      {"na.capital-surplus", 0x80282040, 0, C::Equity, 5250, 5299, 5390},
      {"na.legal-reserve", 0x80281080, 0, C::Equity, 5300, 5319, 5390},
      {"na.voluntary-reserve", 0x80281040, 0, C::Equity, 5320, 5339, 5390},
      {"na.retained", 0x80281048, 0, C::Equity, kRetainedNumber, kRetainedNumber, 5390},
      {"na.treasury", 0x80280800, 0, C::Equity, 5350, 5389, 5390},
      {"na.valuation", 0x80248000, 0, C::Equity, 5400, 5429, 5490},
      {"na.hedge", 0x80244000, 0, C::Equity, 5430, 5459, 5490},
      {"na.land-revaluation", 0x80242000, 0, C::Equity, 5460, 5489, 5490},
      {"na.subscription-rights", 0x80220000, 0, C::Equity, 5500, 5589, 5990},
      {"mc.material", 0x20800100, 1, C::Expense, 6100, 6189, 6190},
      {"mc.labour", 0x20400100, 1, C::Expense, 6200, 6289, 6290},
      {"mc.overhead", 0x20200100, 1, C::Expense, 6300, 6389, 6390},
      {"mc.wip.beginning", 0x20108100, 1, C::Expense, 6500, 6519, 6520},
      {"mc.wip.ending", 0x20102100, 1, C::Expense, 6700, 6719, 6720},
      {"pl.sales", 0x40888100, 0, C::Revenue, 7100, 7189, 7190},
      {"pl.cost", 0x40884100, 1, C::Expense, 7200, 7219, 7290},
      {"pl.sga", 0x40882100, 1, C::Expense, 7400, 7589, 7590},
      {"pl.nonoperating.income", 0x40848100, 0, C::Revenue, 8100, 8189, 8190},
      {"pl.nonoperating.expense", 0x40844100, 1, C::Expense, 8200, 8289, 8290},
      {"pl.extraordinary.income", 0x40480100, 0, C::Revenue, 8400, 8489, 8490},
      {"pl.extraordinary.loss", 0x40440100, 1, C::Expense, 8500, 8589, 8590},
      {"pl.tax", 0x40200100, 1, C::Expense, 8700, 8799, 8800},
  };
  return sections;
}

const std::vector<TotalRow>& TotalRows() {
  static const std::vector<TotalRow> rows = {
      {1990, "流動資産合計", "流動資産", 0x80880000, 1, 2, {}, false},
      {2190, "有形固定資産合計", "有形固定資産", 0x80848000, 1, 2, {}, false},
      {2290, "無形固定資産合計", "無形固定資産", 0x80844000, 1, 2, {}, false},
      {2390, "投資その他の資産合計", "投資その他の資産", 0x80842000, 1, 2, {}, false},
      {2890, "繰延資産合計", "繰延資産", 0x80820000, 1, 2, {}, false},
      {2990, "固定資産合計", "固定資産", 0x80840000, 1, 2, {2190, 2290, 2390}, false},
      {3000, "資産合計", "資産の部", 0x80800000, 1, 2, {1990, 2990, 2890}, false},
      {4490, "流動負債合計", "流動負債", 0x80480000, 0, 2, {}, false},
      {4590, "固定負債合計", "固定負債", 0x80440000, 0, 2, {}, false},
      {4700, "負債合計", "負債の部", 0x80400000, 0, 2, {4490, 4590}, false},
      {kRetainedNumber, "繰越利益剰余金", "", 0x80281048, 0, 3, {8900}, false},
      {5390, "株主資本合計", "株主資本", 0x80280000, 0, 2, {kRetainedNumber}, false},
      {5490, "評価・換算差額等合計", "評価・換算差額等", 0x80240000, 0, 2, {}, false},
      {5990, "純資産合計", "純資産の部", 0x80200000, 0, 2, {5390, 5490}, false},
      {6000, "負債・純資産合計", "負債・純資産合計", 0x80100000, 0, 2, {4700, 5990}, false},
      {6190, "材料費合計", "材料費", 0x20800000, 1, 2, {}, true},
      {6290, "労務費合計", "労務費", 0x20400000, 1, 2, {}, true},
      {6390, "製造経費合計", "製造経費", 0x20200000, 1, 2, {}, true},
      {6400, "当期総製造費用", "", 0x20080000, 1, 2, {6190, 6290, 6390}, true},
      {6520, "期首仕掛品棚卸高計", "期首仕掛品棚卸高", 0x20108000, 1, 2, {}, true},
      {6600, "小計", "", 0x20100008, 1, 2, {6400, 6520}, true},
      {6720, "期末仕掛品棚卸高計", "期末仕掛品棚卸高", 0x20102000, 1, 2, {}, true},
      {7190, "売上高合計", "売上高", 0x40888000, 0, 2, {}, false},
      {kManufacturedNumber, "当期製品製造原価", "", 0x40884200, 1, 3, {6600, 6720}, true},
      {7290, "売上原価合計", "売上原価", 0x40884000, 1, 2, {kManufacturedNumber}, false},
      {7300, "売上総利益", "", 0x40880008, 0, 2, {7190, 7290}, false},
      {7590, "販売費及び一般管理費合計", "販売費及び一般管理費", 0x40882000, 1, 2, {}, false},
      {7600, "営業利益", "", 0x40880000, 0, 2, {7300, 7590}, false},
      {8190, "営業外収益合計", "営業外収益", 0x40848000, 0, 2, {}, false},
      {8290, "営業外費用合計", "営業外費用", 0x40844000, 1, 2, {}, false},
      {8300, "経常利益", "", 0x40800000, 0, 2, {7600, 8190, 8290}, false},
      {8490, "特別利益合計", "特別利益", 0x40480000, 0, 2, {}, false},
      {8590, "特別損失合計", "特別損失", 0x40440000, 1, 2, {}, false},
      {8600, "税引前当期純利益", "", 0x40200080, 0, 2, {8300, 8490, 8590}, false},
      {8800, "当期純利益", "", 0x40200040, 0, 2, {8600}, false},
      {8900, "差引損益", "", 0x40200020, 0, 2, {8800}, false},
  };
  return rows;
}

const Section* FindSection(const std::string& key) {
  for (const Section& section : Sections())
    if (key == section.key) return &section;
  return nullptr;
}

bool IsTotalNumber(int number) {
  for (const TotalRow& row : TotalRows())
    if (row.number == number) return true;
  return false;
}

bool Agrees(SourceType type, SectionClass sectionClass) {
  switch (type) {
    case SourceType::Unknown:
      return true;
    case SourceType::Asset:
      return sectionClass == C::Asset;
    case SourceType::Liability:
      return sectionClass == C::Liability;
    case SourceType::Equity:
      return sectionClass == C::Equity;
    case SourceType::Revenue:
      return sectionClass == C::Revenue;
    case SourceType::Expense:
      return sectionClass == C::Expense;
  }
  return false;
}

bool IsBalanceSheet(const Section& section) { return (section.character & 0x80000000u) != 0; }
bool IsManufacturing(const Section& section) { return std::strncmp(section.key, "mc.", 3) == 0; }

bool IsTaxSection(const Section& section) {
  return std::strcmp(section.key, kTaxPaidKey) == 0 || std::strcmp(section.key, kTaxReceivedKey) == 0;
}

const char* TypeName(SourceType type) {
  switch (type) {
    case SourceType::Unknown:
      return "unknown";
    case SourceType::Asset:
      return "asset";
    case SourceType::Liability:
      return "liability";
    case SourceType::Equity:
      return "equity";
    case SourceType::Revenue:
      return "revenue";
    case SourceType::Expense:
      return "expense";
  }
  return "unknown";
}

}  // namespace orbeck::import

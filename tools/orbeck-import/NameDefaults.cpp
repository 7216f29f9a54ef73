// The standard Japanese chart of accounts by name: the demo company's names and the other
// common ones. A name places an account only where its section agrees with the source's
// type; under a path with 製造 an expense is a manufacturing cost.
#include <iterator>

#include "tools/orbeck-import/Placement.h"

namespace orbeck::import {
namespace {

struct Named {
  const char* name;
  const char* key;
};

constexpr Named kChart[] = {
    {"現金", "bs.current.cash"},
    {"小口現金", "bs.current.cash"},
    {"当座預金", "bs.current.cash"},
    {"普通預金", "bs.current.cash"},
    {"定期預金", "bs.current.cash"},
    {"通知預金", "bs.current.cash"},
    {"預金", "bs.current.cash"},
    {"現金及び預金", "bs.current.cash"},
    {"受取手形", "bs.current.receivable"},
    {"売掛金", "bs.current.receivable"},
    {"電子記録債権", "bs.current.receivable"},
    {"商品", "bs.current.inventory"},
    {"製品", "bs.current.inventory"},
    {"原材料", "bs.current.inventory"},
    {"仕掛品", "bs.current.inventory"},
    {"貯蔵品", "bs.current.inventory"},
    {"半製品", "bs.current.inventory"},
    {"前払費用", "bs.current.other"},
    {"前払金", "bs.current.other"},
    {"未収入金", "bs.current.other"},
    {"未収収益", "bs.current.other"},
    {"短期貸付金", "bs.current.other"},
    {"立替金", "bs.current.other"},
    {"仮払金", "bs.current.other"},
    {"仮払消費税", "bs.current.tax-paid"},
    {"仮払消費税等", "bs.current.tax-paid"},
    {"建物", "bs.fixed.tangible"},
    {"建物附属設備", "bs.fixed.tangible"},
    {"構築物", "bs.fixed.tangible"},
    {"機械装置", "bs.fixed.tangible"},
    {"車両運搬具", "bs.fixed.tangible"},
    {"工具器具備品", "bs.fixed.tangible"},
    {"土地", "bs.fixed.tangible"},
    {"建設仮勘定", "bs.fixed.tangible"},
    {"減価償却累計額", "bs.fixed.tangible"},
    {"ソフトウェア", "bs.fixed.intangible"},
    {"電話加入権", "bs.fixed.intangible"},
    {"のれん", "bs.fixed.intangible"},
    {"商標権", "bs.fixed.intangible"},
    {"特許権", "bs.fixed.intangible"},
    {"投資有価証券", "bs.fixed.investment"},
    {"出資金", "bs.fixed.investment"},
    {"差入保証金", "bs.fixed.investment"},
    {"長期貸付金", "bs.fixed.investment"},
    {"長期前払費用", "bs.fixed.investment"},
    {"敷金", "bs.fixed.investment"},
    {"創立費", "bs.deferred"},
    {"開業費", "bs.deferred"},
    {"開発費", "bs.deferred"},
    {"株式交付費", "bs.deferred"},
    {"社債発行費", "bs.deferred"},
    {"支払手形", "bs.current-liabilities"},
    {"買掛金", "bs.current-liabilities"},
    {"短期借入金", "bs.current-liabilities"},
    {"未払金", "bs.current-liabilities"},
    {"未払費用", "bs.current-liabilities"},
    {"未払法人税等", "bs.current-liabilities"},
    {"預り金", "bs.current-liabilities"},
    {"前受金", "bs.current-liabilities"},
    {"前受収益", "bs.current-liabilities"},
    {"賞与引当金", "bs.current-liabilities"},
    {"仮受金", "bs.current-liabilities"},
    {"未払消費税等", "bs.current-liabilities.tax-payable"},
    {"未払消費税", "bs.current-liabilities.tax-payable"},
    {"仮受消費税", "bs.current-liabilities.tax-received"},
    {"仮受消費税等", "bs.current-liabilities.tax-received"},
    {"長期借入金", "bs.noncurrent-liabilities"},
    {"退職給付引当金", "bs.noncurrent-liabilities"},
    {"社債", "bs.noncurrent-liabilities"},
    {"長期未払金", "bs.noncurrent-liabilities"},
    {"資本金", "na.capital"},
    {"資本準備金", "na.capital-reserve"},
    {"その他資本剰余金", "na.capital-surplus"},
    {"利益準備金", "na.legal-reserve"},
    {"別途積立金", "na.voluntary-reserve"},
    {"圧縮積立金", "na.voluntary-reserve"},
    {"任意積立金", "na.voluntary-reserve"},
    {"繰越利益剰余金", "na.retained"},
    {"自己株式", "na.treasury"},
    {"その他有価証券評価差額金", "na.valuation"},
    {"繰延ヘッジ損益", "na.hedge"},
    {"土地再評価差額金", "na.land-revaluation"},
    {"新株予約権", "na.subscription-rights"},
    {"売上高", "pl.sales"},
    {"製品売上高", "pl.sales"},
    {"商品売上高", "pl.sales"},
    {"売上", "pl.sales"},
    {"加工収入", "pl.sales"},
    {"役務収益", "pl.sales"},
    {"仕入高", "pl.cost"},
    {"商品仕入高", "pl.cost"},
    {"期首製品棚卸高", "pl.cost"},
    {"期末製品棚卸高", "pl.cost"},
    {"期首商品棚卸高", "pl.cost"},
    {"期末商品棚卸高", "pl.cost"},
    {"役員報酬", "pl.sga"},
    {"給料手当", "pl.sga"},
    {"給与手当", "pl.sga"},
    {"賞与", "pl.sga"},
    {"法定福利費", "pl.sga"},
    {"福利厚生費", "pl.sga"},
    {"旅費交通費", "pl.sga"},
    {"通信費", "pl.sga"},
    {"広告宣伝費", "pl.sga"},
    {"接待交際費", "pl.sga"},
    {"交際費", "pl.sga"},
    {"減価償却費", "pl.sga"},
    {"地代家賃", "pl.sga"},
    {"水道光熱費", "pl.sga"},
    {"消耗品費", "pl.sga"},
    {"租税公課", "pl.sga"},
    {"支払手数料", "pl.sga"},
    {"保険料", "pl.sga"},
    {"荷造運賃", "pl.sga"},
    {"雑費", "pl.sga"},
    {"会議費", "pl.sga"},
    {"修繕費", "pl.sga"},
    {"事務用品費", "pl.sga"},
    {"新聞図書費", "pl.sga"},
    {"諸会費", "pl.sga"},
    {"研究開発費", "pl.sga"},
    {"外注費", "pl.sga"},
    {"賃借料", "pl.sga"},
    {"退職給付費用", "pl.sga"},
    {"貸倒引当金繰入額", "pl.sga"},
    {"受取利息", "pl.nonoperating.income"},
    {"受取配当金", "pl.nonoperating.income"},
    {"雑収入", "pl.nonoperating.income"},
    {"為替差益", "pl.nonoperating.income"},
    {"有価証券売却益", "pl.nonoperating.income"},
    {"支払利息", "pl.nonoperating.expense"},
    {"雑損失", "pl.nonoperating.expense"},
    {"為替差損", "pl.nonoperating.expense"},
    {"手形売却損", "pl.nonoperating.expense"},
    {"固定資産売却益", "pl.extraordinary.income"},
    {"投資有価証券売却益", "pl.extraordinary.income"},
    {"貸倒引当金戻入額", "pl.extraordinary.income"},
    {"固定資産除却損", "pl.extraordinary.loss"},
    {"固定資産売却損", "pl.extraordinary.loss"},
    {"減損損失", "pl.extraordinary.loss"},
    {"災害損失", "pl.extraordinary.loss"},
    {"法人税、住民税及び事業税", "pl.tax"},
    {"法人税住民税及び事業税", "pl.tax"},
    {"法人税等", "pl.tax"},
};

constexpr Named kFactory[] = {
    {"材料仕入高", "mc.material"},
    {"材料費", "mc.material"},
    {"原材料費", "mc.material"},
    {"期首材料棚卸高", "mc.material"},
    {"期末材料棚卸高", "mc.material"},
    {"買入部品費", "mc.material"},
    {"賃金", "mc.labour"},
    {"給料", "mc.labour"},
    {"給料手当", "mc.labour"},
    {"賞与", "mc.labour"},
    {"法定福利費", "mc.labour"},
    {"福利厚生費", "mc.labour"},
    {"退職給付費用", "mc.labour"},
    {"雑給", "mc.labour"},
    {"期首仕掛品棚卸高", "mc.wip.beginning"},
    {"期末仕掛品棚卸高", "mc.wip.ending"},
};

const Section* Lookup(const Named* table, std::size_t count, const std::string& name) {
  for (std::size_t i = 0; i < count; ++i)
    if (name == table[i].name) return FindSection(table[i].key);
  return nullptr;
}

}  // namespace

const Section* DefaultSection(const std::string& name, bool inFactory, SourceType type) {
  const Section* section = nullptr;
  if (inFactory) {
    section = Lookup(kFactory, std::size(kFactory), name);
    if (section == nullptr) section = FindSection("mc.overhead");
  }
  if (section == nullptr) section = Lookup(kChart, std::size(kChart), name);
  if (section == nullptr || !Agrees(type, section->sectionClass)) return nullptr;
  return section;
}

}  // namespace orbeck::import

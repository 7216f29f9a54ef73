// From elements to rows. Sections become a heading, their items one level deeper and their
// total under them; the Japanese headings are the usual names of the statements' parts.
#include "tools/velmora-inspect/Layout.h"

#include <algorithm>
#include <map>
#include <utility>

#include "tools/velmora-inspect/NoteTitles.h"

namespace inspect {
namespace {

const std::map<std::string, std::string, std::less<>>& Headings() {
  static const std::map<std::string, std::string, std::less<>> names = {
      {"BalanceSheet", "貸借対照表"},
      {"Assets", "資産の部"},
      {"CurrentAssets", "流動資産"},
      {"NoncurrentAssets", "固定資産"},
      {"PropertyPlantAndEquipment", "有形固定資産"},
      {"IntangibleAssets", "無形固定資産"},
      {"InvestmentsAndOtherAssets", "投資その他の資産"},
      {"DeferredAssets", "繰延資産"},
      {"Liabilities", "負債の部"},
      {"CurrentLiabilities", "流動負債"},
      {"NoncurrentLiabilities", "固定負債"},
      {"NetAssets", "純資産の部"},
      {"IncomeStatement", "損益計算書"},
      {"NetSales", "売上高"},
      {"CostOfSales", "売上原価"},
      {"GrossProfit", "売上総利益"},
      {"SellingGeneralAndAdministrativeExpenses", "販売費及び一般管理費"},
      {"OperatingIncome", "営業利益"},
      {"NonOperatingIncome", "営業外収益"},
      {"NonOperatingExpenses", "営業外費用"},
      {"OrdinaryIncome", "経常利益"},
      {"ExtraordinaryIncome", "特別利益"},
      {"ExtraordinaryLoss", "特別損失"},
      {"IncomeBeforeIncomeTaxes", "税引前当期純利益"},
      {"IncomeTaxes", "法人税等"},
      {"NetIncome", "当期純利益"},
      {"ScheduleCostGoodsManufactured", "製造原価報告書"},
      {"MaterialCost", "材料費"},
      {"LaborCost", "労務費"},
      {"SubcontractCost", "外注費"},
      {"OverheadExpenses", "製造経費"},
      {"TotalProductionCostUtilized", "当期総製造費用"},
      {"WorkProcessBeginningInventories", "期首仕掛品棚卸高"},
      {"SubtotalScheduleCostGoodsManufactured", "小計"},
      {"WorkProcessClosingInventories", "期末仕掛品棚卸高"},
      {"CostFinishedGoods", "当期製品製造原価"},
  };
  return names;
}

std::string Heading(const std::string& element) {
  const auto it = Headings().find(element);
  return it != Headings().end() ? it->second : element;
}

bool IsTotalLine(const Element& e) {
  static const char* const kTotals[] = {"GrossProfit",
                                        "OperatingIncome",
                                        "OrdinaryIncome",
                                        "IncomeBeforeIncomeTaxes",
                                        "NetIncome",
                                        "TotalProductionCostUtilized",
                                        "SubtotalScheduleCostGoodsManufactured",
                                        "CostFinishedGoods"};
  for (const char* t : kTotals) {
    if (e.name == t) return true;
  }
  return false;
}

class StatementBuilder {
 public:
  explicit StatementBuilder(Statement& s) : s_(s) {}

  void Children(const Element& e, int depth, const std::string& path) {
    for (const Element& c : e.children) {
      if (c.name == "Item") {
        Add(StatementRow::Kind::Item, depth, c.label.value_or(""), ParseAmount(c.text), path);
      } else if (IsTotalLine(c)) {
        Add(StatementRow::Kind::Total, depth, c.label.value_or(Heading(c.name)),
            c.amount ? ParseAttributeAmount(*c.amount) : std::nullopt, path);
      } else if (HasContent(c)) {
        const std::string heading = Heading(c.name);
        const std::string inner = path + " / " + heading;
        Add(StatementRow::Kind::Heading, depth, heading, std::nullopt, path);
        Children(c, depth + 1, inner);
        if (c.amount) {
          Add(StatementRow::Kind::Total, depth, c.label.value_or(heading + "計"),
              ParseAttributeAmount(*c.amount), inner);
        }
      }
    }
  }

 private:
  static bool HasContent(const Element& e) {
    if (e.amount) return true;
    for (const Element& c : e.children) {
      if (c.name == "Item" || IsTotalLine(c) || HasContent(c)) return true;
    }
    return false;
  }

  void Add(StatementRow::Kind kind, int depth, std::string label, std::optional<std::int64_t> amount,
           const std::string& parentPath) {
    std::string path = parentPath + " / " + label;
    if (const int n = ++seen_[path]; n > 1) path += " #" + std::to_string(n);
    s_.rows.push_back({kind, depth, std::move(label), amount, std::move(path)});
  }

  Statement& s_;
  std::map<std::string, int> seen_;
};

// The written totals of liabilities and net assets added up, under net assets.
void AddLiabilitiesAndNetAssets(const Element& balanceSheet, Statement& s) {
  const Element* liabilities = balanceSheet.Child("Liabilities");
  const Element* netAssets = balanceSheet.Child("NetAssets");
  if (liabilities == nullptr || netAssets == nullptr || !liabilities->amount || !netAssets->amount) return;
  const auto a = ParseAttributeAmount(*liabilities->amount), b = ParseAttributeAmount(*netAssets->amount);
  if (!a || !b) return;
  StatementRow row{StatementRow::Kind::Total,       0,   "負債・純資産合計", Plus(*a, *b),
                   s.title + " / 負債・純資産合計", true};
  s.rows.push_back(std::move(row));
}

// The components of shareholders' (members') equity among the twelve of the statement of
// changes; the others are valuation and translation adjustments and share acquisition rights.
bool IsEquityComponent(const std::string& component) {
  static const char* const kEquity[] = {"資本金",     "資本準備金", "その他資本剰余金", "利益準備金",
                                        "別途積立金", "任意積立金", "繰越利益剰余金",   "自己株式"};
  return std::any_of(std::begin(kEquity), std::end(kEquity), [&](const char* c) { return component == c; });
}

ChangesRow Total(std::string label, const std::vector<ChangesRow>& rows, bool equityOnly) {
  ChangesRow total{std::move(label), 0, 0, 0, 0, true};
  for (const ChangesRow& r : rows) {
    if (r.derived || (equityOnly && !IsEquityComponent(r.component))) continue;
    total.opening = Plus(total.opening, r.opening);
    total.change = Plus(total.change, r.change);
    total.netIncome = Plus(total.netIncome, r.netIncome);
    total.closing = Plus(total.closing, r.closing);
  }
  return total;
}

// 株主資本合計 after the last equity component, 純資産合計 at the end.
void AddChangesTotals(std::vector<ChangesRow>& rows, bool members) {
  if (rows.empty()) return;
  const auto firstOther = std::find_if(rows.begin(), rows.end(),
                                       [](const ChangesRow& r) { return !IsEquityComponent(r.component); });
  ChangesRow equity = Total(members ? "社員資本合計" : "株主資本合計", rows, true);
  ChangesRow all = Total("純資産合計", rows, false);
  rows.insert(firstOther, std::move(equity));
  rows.push_back(std::move(all));
}

void Notes(const Element& e, int depth, std::vector<NoteBlock>& out) {
  for (const Element& c : e.children) {
    if (c.name == "Line") continue;
    NoteBlock block{depth, c.name, NoteTitle(c.name), {}};
    for (const Element& line : c.children) {
      if (line.name == "Line") block.lines.push_back(line.text);
    }
    out.push_back(std::move(block));
    Notes(c, depth + 1, out);
  }
}

}  // namespace

DebitCredit ToDebitCredit(const std::string& section, const std::string& amount) {
  static const char* const kCreditGroups[] = {
      "流動負債",   "固定負債",         "負債の部", "株主資本",   "評価･換算差額等", "新株予約権",
      "純資産の部", "負債・純資産合計", "売上高",   "営業外収益", "特別利益"};
  const bool credit = std::any_of(std::begin(kCreditGroups), std::end(kCreditGroups),
                                  [&](const char* g) { return section == g; });
  const auto v = ParseAmount(amount);
  if (!v) return {amount, ""};  // not an amount: shown as written
  const std::string shown = WithSeparators(*v < 0 ? -*v : *v);
  return (*v >= 0) != credit ? DebitCredit{shown, ""} : DebitCredit{"", shown};
}

std::string JapaneseDate(const std::string& d) {
  if (d.size() != 8 || d.find_first_not_of("0123456789") != std::string::npos) return d;
  return d.substr(0, 4) + "年" + std::to_string(std::stoi(d.substr(4, 2))) + "月" +
         std::to_string(std::stoi(d.substr(6, 2))) + "日";
}

Layout MakeLayout(const Element& report, const Element& data) {
  Layout layout;
  if (const Element* system = report.Child("SYSTEM")) {
    layout.format = system->ChildText("GYOUMUPREFIX");
    layout.programName = system->ChildText("PROGRAMNAME");
    layout.programVersion = system->ChildText("PROGRAMVER");
  }
  if (const Element* basic = report.Child("BASIC")) {
    layout.company = basic->ChildText("KOMONSAKINAME");
    layout.periodFrom = basic->ChildText("JIGYOUNENDOFROM");
    layout.periodTo = basic->ChildText("JIGYOUNENDOTO");
  }
  for (const char* id : {"BalanceSheet", "IncomeStatement", "ScheduleCostGoodsManufactured"}) {
    const Element* e = data.Child(id);
    if (e == nullptr) continue;
    Statement& s = layout.statements.emplace_back();
    s.id = id;
    s.title = Heading(id);
    StatementBuilder(s).Children(*e, 0, s.title);
    if (s.id == "BalanceSheet") AddLiabilitiesAndNetAssets(*e, s);
  }
  if (const Element* changes = data.Child("StatementChangesNetAssets")) {
    const bool members = changes->ChildText("Select") == "2";
    layout.changesTitle = members ? "社員資本等変動計算書" : "株主資本等変動計算書";
    for (const Element& item : changes->children) {
      if (item.name != "ChangesNetAssetsItem") continue;
      ChangesRow row;
      row.component = item.ChildText("AccountList");
      row.opening = ParseAmount(item.ChildText("BalanceEndPreviousPeriod")).value_or(0);
      row.closing = ParseAmount(item.ChildText("BalanceEndCurrentPeriod")).value_or(0);
      if (const Element* during = item.Child("ChangesItemsDuringPeriod")) {
        row.change = ParseAmount(during->ChildText("TotalChangesItemsDuringPeriod")).value_or(0);
        if (const Element* shown = during->Child("ChangesItem")) {
          row.netIncome = ParseAmount(shown->ChildText("Amount")).value_or(0);
        }
      }
      layout.changes.push_back(std::move(row));
    }
    AddChangesTotals(layout.changes, members);
  }
  if (const Element* notes = data.Child("ListNotesNonConsolidated")) {
    layout.notesPresent = true;
    Notes(*notes, 0, layout.notes);
  }
  return layout;
}

}  // namespace inspect

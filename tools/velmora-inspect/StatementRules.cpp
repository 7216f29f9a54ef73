// The statement walk: each statement by its sections, a section's contribution to its
// parent its written total, or the sum of its parts when the host has no total line for it.
#include "tools/velmora-inspect/StatementRules.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace inspect {
namespace {

std::string Step(const std::string& parent, const Element& e) {
  std::string path = parent + "/" + e.name;
  if (e.label && !e.label->empty()) path += "[" + PathLabel(*e.label) + "]";
  return path;
}

std::string Yen(std::int64_t v) { return WithSeparators(v); }

std::optional<std::int64_t> StatedTotal(const Element& e) {
  if (!e.amount) return std::nullopt;
  return ParseAttributeAmount(*e.amount);
}

}  // namespace

namespace {

// A figure and the number of printed amounts it was added up from.
struct Sum {
  std::int64_t value = 0;
  std::int64_t terms = 0;
};

// The statement walk: a section's contribution to its parent is its written total, or the
// sum of its parts when the host has no total line for it.
class StatementRules {
 public:
  explicit StatementRules(std::vector<Finding>& findings) : findings_(findings) {}

  // Items and subsections of e, checked against e's total; returns its contribution.
  // unlisted: present when the host may add into the total what it does not list as an item;
  // the written total may then equal the items with or without that figure, and another
  // difference is only a warning, for the figure can also be one the document does not show.
  Sum Section(const Element& e, const std::string& parentPath,
              const std::vector<std::pair<std::string, std::int64_t>>& leaveOut = {},
              std::optional<std::int64_t> unlisted = std::nullopt) {
    const std::string path = Step(parentPath, e);
    Sum parts;
    std::map<std::pair<std::string, std::int64_t>, int> skip;
    for (const auto& key : leaveOut) ++skip[key];
    for (const Element& c : e.children) {
      if (c.name == "Item") {
        const auto v = ParseAmount(c.text);
        if (!v) continue;  // the schema has said so
        if (auto it = skip.find({c.label.value_or(""), *v}); it != skip.end() && it->second > 0) {
          --it->second;
          continue;
        }
        parts.value = Plus(parts.value, *v);
        ++parts.terms;
      }
    }
    const auto stated = StatedTotal(e);
    if (stated) {
      if (!unlisted) {
        Report(e.line, path, "total of its items", *stated, parts.value, parts.terms);
      } else if (*stated != Plus(parts.value, *unlisted) && *stated != parts.value) {
        findings_.push_back({Severity::Warning, e.line, path,
                             "total of its items: " + Yen(*stated) + " written, " + Yen(parts.value) +
                                 " computed (difference " + Yen(Minus(*stated, parts.value)) +
                                 "; before the books are closed the net income of the year so far stands in "
                                 "net assets without an item of its own)"});
      }
      return {*stated, 1};
    }
    return parts;
  }

  // A section made of named subsections (and no items).
  Sum Sections(const Element& e, const std::string& parentPath, const std::vector<Sum>& parts) {
    Sum sum;
    for (const Sum& p : parts) {
      sum.value = Plus(sum.value, p.value);
      sum.terms += p.terms;
    }
    const auto stated = StatedTotal(e);
    if (stated) {
      Report(e.line, Step(parentPath, e), "total of its sections", *stated, sum.value, sum.terms);
      return {*stated, 1};
    }
    return sum;
  }

  void Report(long line, const std::string& path, const std::string& what, std::int64_t stated,
              std::int64_t computed, std::int64_t terms) {
    AddMismatch(findings_, line, path, what, stated, computed, terms);
  }

  void BalanceSheet(const Element& bs, const Element* incomeStatement, const std::string& parent);
  void IncomeStatement(const Element& is, const std::string& parent);
  void Manufacturing(const Element& m, const std::string& parent);
  void Changes(const Element& changes, const Element* balanceSheet, const Element* incomeStatement,
               const std::string& parent);

 private:
  Sum Of(const Element* e, const std::string& parent) { return e != nullptr ? Section(*e, parent) : Sum{}; }

  std::vector<Finding>& findings_;
};

// Lines the host keeps under noncurrent assets but in none of its three subsections are
// written under each of the three: such an item counts once, for noncurrent assets itself.
std::vector<std::pair<std::string, std::int64_t>> Unclassified(const Element& noncurrent) {
  std::vector<std::map<std::pair<std::string, std::int64_t>, int>> counts;
  for (const char* name : {"PropertyPlantAndEquipment", "IntangibleAssets", "InvestmentsAndOtherAssets"}) {
    const Element* sub = noncurrent.Child(name);
    if (sub == nullptr) return {};
    auto& c = counts.emplace_back();
    for (const Element& item : sub->children) {
      if (const auto v = ParseAmount(item.text); v && item.name == "Item") ++c[{item.label.value_or(""), *v}];
    }
  }
  std::vector<std::pair<std::string, std::int64_t>> out;
  for (const auto& [key, n] : counts[0]) {
    const int times = std::min(
        {n, counts[1].count(key) ? counts[1].at(key) : 0, counts[2].count(key) ? counts[2].at(key) : 0});
    for (int i = 0; i < times; ++i) out.push_back(key);
  }
  return out;
}

void StatementRules::BalanceSheet(const Element& bs, const Element* incomeStatement,
                                  const std::string& parent) {
  const std::string path = Step(parent, bs);
  Sum assets, liabilities, netAssets;
  if (const Element* a = bs.Child("Assets")) {
    const std::string ap = Step(path, *a);
    Sum noncurrent;
    if (const Element* n = a->Child("NoncurrentAssets")) {
      const std::string np = Step(ap, *n);
      const auto unclassified = Unclassified(*n);
      Sum once;
      for (const auto& [label, amount] : unclassified) {
        once.value = Plus(once.value, amount);
        ++once.terms;
        findings_.push_back({Severity::Warning, n->line, np + "/Item[" + label + "]",
                             "written under all three noncurrent subsections: the account has none of them "
                             "(counted once, for noncurrent assets)"});
      }
      std::vector<Sum> parts;
      for (const char* name :
           {"PropertyPlantAndEquipment", "IntangibleAssets", "InvestmentsAndOtherAssets"}) {
        if (const Element* s = n->Child(name)) parts.push_back(Section(*s, np, unclassified));
      }
      parts.push_back(once);
      noncurrent = Sections(*n, ap, parts);
    }
    assets = Sections(*a, path,
                      {Of(a->Child("CurrentAssets"), ap), noncurrent, Of(a->Child("DeferredAssets"), ap)});
  }
  if (const Element* l = bs.Child("Liabilities")) {
    const std::string lp = Step(path, *l);
    liabilities = Sections(
        *l, path, {Of(l->Child("CurrentLiabilities"), lp), Of(l->Child("NoncurrentLiabilities"), lp)});
  }
  // Before the books are closed the net income of the year so far stands in net assets as a
  // total line of its own, not as an item; over a period that starts after the first month
  // it is more than the income statement's net income.
  std::optional<std::int64_t> netIncome = 0;
  if (const Element* n = incomeStatement != nullptr ? incomeStatement->Child("NetIncome") : nullptr) {
    netIncome = StatedTotal(*n).value_or(0);
  }
  if (const Element* n = bs.Child("NetAssets")) netAssets = Section(*n, path, {}, netIncome);
  if (const Element* a = bs.Child("Assets"); a != nullptr && StatedTotal(*a)) {
    Report(a->line, Step(path, *a), "assets against liabilities plus net assets", assets.value,
           Plus(liabilities.value, netAssets.value), assets.terms + liabilities.terms + netAssets.terms - 1);
  }
}

void StatementRules::IncomeStatement(const Element& is, const std::string& parent) {
  const std::string path = Step(parent, is);
  // The results down the statement: each written result is checked against the one before
  // it and the sections between, then carried on as written.
  Sum running = Of(is.Child("NetSales"), path);
  const auto step = [&](const char* section, int sign) {
    const Sum s = Of(is.Child(section), path);
    running.value = sign > 0 ? Plus(running.value, s.value) : Minus(running.value, s.value);
    running.terms += s.terms;
  };
  const auto result = [&](const char* name, const char* what) {
    const Element* r = is.Child(name);
    if (r == nullptr) return;
    const auto stated = StatedTotal(*r);
    if (!stated) return;
    Report(r->line, Step(path, *r), what, *stated, running.value, running.terms);
    running = {*stated, 1};
  };
  step("CostOfSales", -1);
  result("GrossProfit", "net sales less cost of sales");
  step("SellingGeneralAndAdministrativeExpenses", -1);
  result("OperatingIncome", "gross profit less selling, general and administrative expenses");
  step("NonOperatingIncome", +1);
  step("NonOperatingExpenses", -1);
  result("OrdinaryIncome", "operating income with non-operating income and expenses");
  step("ExtraordinaryIncome", +1);
  step("ExtraordinaryLoss", -1);
  result("IncomeBeforeIncomeTaxes", "ordinary income with extraordinary income and loss");
  if (const Element* taxes = is.Child("IncomeTaxes")) {
    for (const Element& item : taxes->children) {
      if (const auto v = ParseAmount(item.text)) {
        running.value = Minus(running.value, *v);
        ++running.terms;
      }
    }
  }
  result("NetIncome", "income before income taxes less income taxes");
}

void StatementRules::Manufacturing(const Element& m, const std::string& parent) {
  const std::string path = Step(parent, m);
  Sum running;
  const auto add = [&](const char* section) {
    const Sum s = Of(m.Child(section), path);
    running.value = Plus(running.value, s.value);
    running.terms += s.terms;
  };
  const auto result = [&](const char* name, const char* what) {
    const Element* r = m.Child(name);
    if (r == nullptr) return;
    const auto stated = StatedTotal(*r);
    if (!stated) return;
    Report(r->line, Step(path, *r), what, *stated, running.value, running.terms);
    running = {*stated, 1};
  };
  add("MaterialCost");
  add("LaborCost");
  add("SubcontractCost");
  add("OverheadExpenses");
  result("TotalProductionCostUtilized", "material, labour, subcontract and overhead costs");
  add("WorkProcessBeginningInventories");
  result("SubtotalScheduleCostGoodsManufactured", "total production cost with the opening work in process");
  add("WorkProcessClosingInventories");
  result("CostFinishedGoods", "subtotal with the closing work in process");
}

void StatementRules::Changes(const Element& changes, const Element* balanceSheet,
                             const Element* incomeStatement, const std::string& parent) {
  const std::string path = Step(parent, changes);
  const Element* netAssets = balanceSheet != nullptr ? balanceSheet->Child("NetAssets") : nullptr;
  std::int64_t closingSum = 0;
  int items = 0;
  for (const Element& item : changes.children) {
    if (item.name != "ChangesNetAssetsItem") continue;
    ++items;
    const std::string name = item.ChildText("AccountList");
    const std::string ip = path + "/ChangesNetAssetsItem[" + name + "]";
    const std::int64_t opening = ParseAmount(item.ChildText("BalanceEndPreviousPeriod")).value_or(0);
    const std::int64_t closing = ParseAmount(item.ChildText("BalanceEndCurrentPeriod")).value_or(0);
    std::int64_t change = 0;
    const Element* during = item.Child("ChangesItemsDuringPeriod");
    if (during != nullptr)
      change = ParseAmount(during->ChildText("TotalChangesItemsDuringPeriod")).value_or(0);
    const Element* closingElement = item.Child("BalanceEndCurrentPeriod");
    const long closingLine = closingElement != nullptr ? closingElement->line : item.line;
    // Each component sums several host lines, each cut to whole yen on its own.
    Report(closingLine, ip + "/BalanceEndCurrentPeriod", "opening balance plus changes during the period",
           closing, Plus(opening, change), 2);
    closingSum = Plus(closingSum, closing);

    // Net income of the period shown beside retained earnings is the income statement's.
    const Element* shown = during != nullptr ? during->Child("ChangesItem") : nullptr;
    const Element* netIncome = incomeStatement != nullptr ? incomeStatement->Child("NetIncome") : nullptr;
    if (shown != nullptr && netIncome != nullptr) {
      const auto a = ParseAmount(shown->ChildText("Amount"));
      const auto b = StatedTotal(*netIncome);
      if (a && b && *a != *b) {
        findings_.push_back(
            {Severity::Warning, shown->line, ip + "/ChangesItemsDuringPeriod/ChangesItem/Amount",
             "net income " + Yen(*a) + " written, the income statement's NetIncome is " + Yen(*b) +
                 " (they differ when the period does not start at the first month)"});
      }
    }

    // The balance sheet lists the same closing balance under the component's own name,
    // unless the component gathers several accounts.
    if (netAssets != nullptr) {
      std::int64_t listed = 0;
      int found = 0;
      for (const Element& bsItem : netAssets->children) {
        if (bsItem.label && *bsItem.label == name) {
          listed = Plus(listed, ParseAmount(bsItem.text).value_or(0));
          ++found;
        }
      }
      if (found > 0 && listed != closing) {
        findings_.push_back({Severity::Warning, closingLine, ip + "/BalanceEndCurrentPeriod",
                             "closing balance " + Yen(closing) + " written, the balance sheet lists " + name +
                                 " at " + Yen(listed) +
                                 " (they differ when the component gathers several accounts)"});
      }
    }
  }
  if (netAssets != nullptr && items > 0) {
    if (const auto total = StatedTotal(*netAssets); total && *total != closingSum) {
      findings_.push_back({Severity::Warning, changes.line, path,
                           "the components close at " + Yen(closingSum) +
                               " in all, the balance sheet's net assets at " + Yen(*total) +
                               " (net-asset accounts outside the twelve components make a difference)"});
    }
  }
}

}  // namespace

void CheckStatements(const Element& root, std::vector<Finding>& findings) {
  const std::string rootPath = Step("", root);
  const Element* data = root.Child("DATA");
  if (data == nullptr) return;
  const std::string dataPath = Step(rootPath, *data);
  StatementRules rules(findings);
  const Element* bs = data->Child("BalanceSheet");
  const Element* is = data->Child("IncomeStatement");
  if (bs != nullptr) rules.BalanceSheet(*bs, is, dataPath);
  if (is != nullptr) rules.IncomeStatement(*is, dataPath);
  if (const Element* m = data->Child("ScheduleCostGoodsManufactured")) rules.Manufacturing(*m, dataPath);
  if (const Element* c = data->Child("StatementChangesNetAssets")) rules.Changes(*c, bs, is, dataPath);
}

}  // namespace inspect

// Placing source accounts: map rules first, then the names of the standard chart.
#include "tools/orbeck-import/Placement.h"

#include <vector>

namespace orbeck::import {
namespace {

std::vector<std::string> Levels(const std::string& path) {
  std::vector<std::string> levels;
  std::size_t start = 0;
  for (;;) {
    std::size_t colon = path.find(':', start);
    levels.push_back(path.substr(start, colon - start));
    if (colon == std::string::npos) return levels;
    start = colon + 1;
  }
}

std::string Join(const std::vector<std::string>& levels, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += (i == 0 ? "" : ":") + levels[i];
  return out;
}

bool Matches(const MapRule& rule, const std::string& path) {
  if (rule.pattern) return std::regex_match(path, *rule.pattern);
  return path == rule.account || path.compare(0, rule.account.size() + 1, rule.account + ":") == 0;
}

}  // namespace

int Place(const AccountMap& map, const SourceAccount& account, Placement& out, std::string& error) {
  out = Placement{};
  std::vector<std::string> levels = Levels(account.path);
  for (const MapRule& rule : map.rules) {
    if (!Matches(rule, account.path)) continue;
    if (!Agrees(account.type, rule.section->sectionClass)) {
      error = account.origin + ": " + account.path + " is an account of type " + TypeName(account.type) +
              ", mapped by " + rule.where + " to " + rule.section->key;
      return 0;
    }
    out.section = rule.section;
    out.rule = "map " + rule.where;
    if (rule.pattern) {
      out.hostPath = account.path;
      out.hostName = levels.back();
      return 1;
    }
    out.hostPath = rule.account;
    out.hostName = rule.name.empty() ? Levels(rule.account).back() : rule.name;
    out.number = rule.number;
    std::size_t depth = Levels(rule.account).size();
    if (rule.subAccounts == SubAccounts::Sub && levels.size() > depth) out.subName = levels[depth];
    return 1;
  }
  if (!map.nameDefaults || account.type == SourceType::Unknown) return 1;
  // Under a level named with 製造 an expense is a manufacturing cost: the level below it is
  // the account. Elsewhere the deepest level the standard chart knows names the account. The
  // level below the account, if any, is its sub-account.
  std::size_t at = levels.size();
  const Section* section = nullptr;
  for (std::size_t f = 0; f + 1 < levels.size() && account.type == SourceType::Expense; ++f)
    if (levels[f].find("製造") != std::string::npos) {
      at = f + 1;
      section = DefaultSection(levels[at], true, account.type);
      break;
    }
  for (std::size_t i = levels.size(); section == nullptr && i-- > 0;) {
    section = DefaultSection(levels[i], false, account.type);
    at = i;
  }
  if (section == nullptr) return 1;
  out.section = section;
  out.hostPath = Join(levels, at + 1);
  out.hostName = levels[at];
  if (at + 1 < levels.size()) out.subName = levels[at + 1];
  out.rule = "the name " + levels[at];
  return 1;
}

}  // namespace orbeck::import

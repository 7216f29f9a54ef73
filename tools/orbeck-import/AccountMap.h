// The account map: which section (and which account number, name and sub-accounts) each
// source account goes to, the company and its period, and the CSV source's column map.
// JSON (docs/import.md, docs/import-map.schema.json); texts stay UTF-8 here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/orbeck-import/Sections.h"

namespace orbeck::import {

// How the levels below a mapped account come in: as sub-accounts (the next level below;
// deeper levels fold into it) or folded into the account itself.
enum class SubAccounts { Sub, Merge };

struct MapRule {
  std::string account;                  // an exact path: it and the paths below it
  std::string patternText;              // or a pattern (ECMAScript), matched against the whole path
  std::shared_ptr<std::regex> pattern;  // null for exact rules
  const Section* section = nullptr;
  int number = 0;    // 0: given in order of appearance
  std::string name;  // empty: the path's last level
  SubAccounts subAccounts = SubAccounts::Sub;
  std::string where;  // "/accounts/N", for messages
};

enum class TaxBasis { None, Excluded, Included };

struct Company {
  std::string name = "インポート株式会社";
  std::string dataId = "IMPORT01";
  int32_t periodStart = 0;  // yyyymmdd; 0: not given
  int32_t periodEnd = 0;
  int closingDay = 31;
  TaxBasis taxBasis = TaxBasis::Excluded;
  std::string user = "admin";
};

struct AccountMap {
  Company company;
  std::vector<MapRule> rules;
  bool nameDefaults = true;  // the standard chart's names place what no rule does
  nlohmann::json csv;        // the CSV source's column map (null when absent)
};

// Reads and checks the map; messages start with the file's name and the JSON pointer.
int ReadAccountMap(const std::filesystem::path& file, AccountMap& map, std::string& error);
int ParseAccountMap(const nlohmann::json& document, const std::string& name, AccountMap& map,
                    std::string& error);

// yyyymmdd from "2024-04-01" or "20240401", checked as a calendar date; 0 when it is neither.
int32_t ParseDate(const std::string& text);
bool IsCalendarDate(int32_t date);

}  // namespace orbeck::import

// Reading the account map: every member known, every value of the right type and range.
#include "tools/orbeck-import/AccountMap.h"

#include <cstdio>
#include <fstream>
#include <set>

namespace orbeck::import {
namespace {

class MapReader {
 public:
  MapReader(const std::string& name, AccountMap& map, std::string& error)
      : name_(name), map_(map), error_(error) {}

  int Read(const nlohmann::json& document) {
    if (!document.is_object()) return Fail("", "not an object");
    if (!Known(document, "", {"format", "version", "company", "accounts", "nameDefaults", "csv"})) return 0;
    if (document.value("format", "") != "orbeck-import-map")
      return Fail("/format", "not \"orbeck-import-map\"");
    if (!document.contains("version") || document["version"] != 1) return Fail("/version", "not 1");
    if (document.contains("nameDefaults")) {
      if (!document["nameDefaults"].is_boolean()) return Fail("/nameDefaults", "not true or false");
      map_.nameDefaults = document["nameDefaults"].get<bool>();
    }
    if (document.contains("company") && !ReadCompany(document["company"])) return 0;
    if (document.contains("accounts")) {
      const nlohmann::json& rules = document["accounts"];
      if (!rules.is_array()) return Fail("/accounts", "not an array");
      for (std::size_t i = 0; i < rules.size(); ++i)
        if (!ReadRule(rules[i], "/accounts/" + std::to_string(i))) return 0;
    }
    if (document.contains("csv")) {
      if (!document["csv"].is_object()) return Fail("/csv", "not an object");
      map_.csv = document["csv"];
    }
    return 1;
  }

 private:
  const std::string& name_;
  AccountMap& map_;
  std::string& error_;
  std::set<int> numbers_;

  int Fail(const std::string& pointer, const std::string& what) {
    error_ = name_ + ": " + (pointer.empty() ? "/" : pointer) + ": " + what;
    return 0;
  }

  bool Known(const nlohmann::json& object, const std::string& pointer,
             std::initializer_list<const char*> members) {
    for (auto it = object.begin(); it != object.end(); ++it) {
      bool known = false;
      for (const char* member : members) known = known || it.key() == member;
      if (!known) return Fail(pointer + "/" + it.key(), "not a member of the map here") != 0;
    }
    return true;
  }

  bool Text(const nlohmann::json& object, const std::string& pointer, const char* member, std::string& out) {
    if (!object.contains(member)) return true;
    if (!object[member].is_string() || object[member].get<std::string>().empty())
      return Fail(pointer + "/" + member, "not a text") != 0;
    out = object[member].get<std::string>();
    return true;
  }

  bool Date(const nlohmann::json& object, const std::string& pointer, const char* member, int32_t& out) {
    if (!object.contains(member)) return true;
    const nlohmann::json& value = object[member];
    int32_t date = value.is_number_integer() ? static_cast<int32_t>(value.get<int64_t>())
                   : value.is_string()       ? ParseDate(value.get<std::string>())
                                             : 0;
    if (!IsCalendarDate(date))
      return Fail(pointer + "/" + member, "not a date (yyyy-mm-dd or yyyymmdd)") != 0;
    out = date;
    return true;
  }

  bool ReadCompany(const nlohmann::json& company) {
    const std::string at = "/company";
    if (!company.is_object()) return Fail(at, "not an object") != 0;
    if (!Known(company, at, {"name", "dataId", "periodStart", "periodEnd", "closingDay", "taxBasis", "user"}))
      return false;
    Company& out = map_.company;
    if (!Text(company, at, "name", out.name) || !Text(company, at, "dataId", out.dataId) ||
        !Text(company, at, "user", out.user) || !Date(company, at, "periodStart", out.periodStart) ||
        !Date(company, at, "periodEnd", out.periodEnd))
      return false;
    if (company.contains("closingDay")) {
      const nlohmann::json& day = company["closingDay"];
      if (!day.is_number_integer() || day.get<int64_t>() < 1 || day.get<int64_t>() > 31)
        return Fail(at + "/closingDay", "not a day from 1 to 31") != 0;
      out.closingDay = day.get<int>();
    }
    std::string basis;
    if (!Text(company, at, "taxBasis", basis)) return false;
    if (!basis.empty() && ParseTaxBasis(basis, out.taxBasis) == 0)
      return Fail(at + "/taxBasis", "not \"excluded\", \"included\" or \"none\"") != 0;
    return true;
  }

  bool ReadRule(const nlohmann::json& rule, const std::string& at) {
    if (!rule.is_object()) return Fail(at, "not an object") != 0;
    if (!Known(rule, at, {"account", "pattern", "section", "number", "name", "subAccounts"})) return false;
    MapRule out;
    out.where = at;
    if (!Text(rule, at, "account", out.account) || !Text(rule, at, "pattern", out.patternText)) return false;
    if (out.account.empty() == out.patternText.empty())
      return Fail(at, "needs one of account and pattern") != 0;
    if (!out.patternText.empty()) {
      try {
        out.pattern = std::make_shared<std::regex>(out.patternText, std::regex::ECMAScript);
      } catch (const std::regex_error&) {
        return Fail(at + "/pattern", "not a regular expression") != 0;
      }
    }
    std::string key;
    if (!Text(rule, at, "section", key)) return false;
    out.section = FindSection(key);
    if (out.section == nullptr)
      return Fail(at + "/section", "not a section key (docs/import.md lists them)") != 0;
    if (!Text(rule, at, "name", out.name)) return false;
    if (!out.name.empty() && out.pattern)
      return Fail(at + "/name", "a pattern's accounts keep their own names") != 0;
    if (rule.contains("number")) {
      const nlohmann::json& number = rule["number"];
      if (out.pattern) return Fail(at + "/number", "a pattern's accounts are numbered in order") != 0;
      if (!number.is_number_integer() || number.get<int64_t>() < 1 || number.get<int64_t>() > 9999)
        return Fail(at + "/number", "an account number is 1 to 9999") != 0;
      out.number = number.get<int>();
      if (IsTotalNumber(out.number))
        return Fail(at + "/number", "the number of a total row of the chart") != 0;
      if (std::string(out.section->key) == kRetainedKey)
        return Fail(at + "/number",
                    "繰越利益剰余金 has its own number; its accounts become its sub-accounts") != 0;
      if (!numbers_.insert(out.number).second) return Fail(at + "/number", "given to two accounts") != 0;
    }
    std::string subs;
    if (!Text(rule, at, "subAccounts", subs)) return false;
    if (subs == "merge")
      out.subAccounts = SubAccounts::Merge;
    else if (!subs.empty() && subs != "sub")
      return Fail(at + "/subAccounts", "not \"sub\" or \"merge\"") != 0;
    map_.rules.push_back(std::move(out));
    return true;
  }

  static int ParseTaxBasis(const std::string& text, TaxBasis& out) {
    if (text == "excluded")
      out = TaxBasis::Excluded;
    else if (text == "included")
      out = TaxBasis::Included;
    else if (text == "none")
      out = TaxBasis::None;
    else
      return 0;
    return 1;
  }
};

}  // namespace

bool IsCalendarDate(int32_t date) {
  int y = date / 10000, m = date / 100 % 100, d = date % 100;
  if (y < 1900 || y > 2999 || m < 1 || m > 12 || d < 1) return false;
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

int32_t ParseDate(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (text.size() == 10 && std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) == 3) {
  } else if (text.size() == 8 && std::sscanf(text.c_str(), "%4d%2d%2d%c", &y, &m, &d, &tail) == 3) {
  } else {
    return 0;
  }
  int32_t date = y * 10000 + m * 100 + d;
  return IsCalendarDate(date) ? date : 0;
}

int ParseAccountMap(const nlohmann::json& document, const std::string& name, AccountMap& map,
                    std::string& error) {
  return MapReader(name, map, error).Read(document);
}

int ReadAccountMap(const std::filesystem::path& file, AccountMap& map, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": cannot be read";
    return 0;
  }
  nlohmann::json document = nlohmann::json::parse(in, nullptr, false);
  if (document.is_discarded()) {
    error = file.string() + ": not JSON";
    return 0;
  }
  return ParseAccountMap(document, file.string(), map, error);
}

}  // namespace orbeck::import

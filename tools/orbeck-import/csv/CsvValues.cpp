// Dates and amounts of journal CSV fields, exact: amounts go through the host data's own
// decimal reading once the thousands separators are gone.
#include "tools/orbeck-import/csv/CsvValues.h"

#include <cctype>
#include <chrono>
#include <optional>

#include "orbeck/store/Amount.h"

namespace orbeck::import {

std::string_view TrimField(std::string_view field) {
  const std::string_view ideographic = "\xE3\x80\x80";
  for (bool cut = true; cut;) {
    cut = false;
    if (!field.empty() && (field.front() == ' ' || field.front() == '\t')) {
      field.remove_prefix(1);
      cut = true;
    }
    if (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
      field.remove_suffix(1);
      cut = true;
    }
    if (field.substr(0, 3) == ideographic) {
      field.remove_prefix(3);
      cut = true;
    }
    if (field.size() >= 3 && field.substr(field.size() - 3) == ideographic) {
      field.remove_suffix(3);
      cut = true;
    }
  }
  return field;
}

int ParseCsvDate(std::string_view text, int32_t& yyyymmdd, std::string& error) {
  int parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int part = 0;
  const bool compact = text.size() == 8 && text.find_first_not_of("0123456789") == std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9' && digits[part] < 4) {
      parts[part] = parts[part] * 10 + (c - '0');
      ++digits[part];
      if (compact && (i == 3 || i == 5)) ++part;
    } else if ((c == '/' || c == '-' || c == '.') && part < 2 && digits[part] > 0 && !compact) {
      ++part;
    } else {
      part = -1;
      break;
    }
  }
  using namespace std::chrono;
  const year_month_day day{year{parts[0]}, month{static_cast<unsigned>(parts[1])},
                           std::chrono::day{static_cast<unsigned>(parts[2])}};
  if (part != 2 || digits[0] != 4 || digits[1] == 0 || digits[1] > 2 || digits[2] == 0 || digits[2] > 2 ||
      !day.ok()) {
    error = "'" + std::string(text) + "' is not a date (YYYY/MM/DD)";
    return 0;
  }
  yyyymmdd = parts[0] * 10000 + parts[1] * 100 + parts[2];
  return 1;
}

int ParseCsvAmount(std::string_view text, int64_t& amount, std::string& error) {
  if (text.empty()) {
    amount = 0;
    return 1;
  }
  // Separators only between digits: "1,000" but neither ",1" nor "1,,0".
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool between = i > 0 && i + 1 < text.size() &&
                         std::isdigit(static_cast<unsigned char>(text[i - 1])) &&
                         std::isdigit(static_cast<unsigned char>(text[i + 1]));
    if (text[i] == ',' && between) continue;
    plain += text[i];
  }
  std::string why;
  const std::optional<int64_t> value = orbeck::store::ParseAmount(plain, &why);
  if (!value) {
    error = "malformed amount '" + std::string(text) + "': " + why;
    return 0;
  }
  amount = *value;
  return 1;
}

}  // namespace orbeck::import

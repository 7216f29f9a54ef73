// Stored GnuCash dates to calendar days, exact integer arithmetic over std::chrono's civil
// calendar.
#include "tools/orbeck-import/gnucash/GnuCashDates.h"

#include <chrono>

namespace orbeck::import {
namespace {

int Digits(std::string_view text, std::size_t from, std::size_t count, int& value) {
  value = 0;
  if (from + count > text.size()) return 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
  }
  return 1;
}

}  // namespace

int ParseUtcOffset(std::string_view text, int& minutes, std::string& error) {
  if (text == "UTC" || text == "Z") {
    minutes = 0;
    return 1;
  }
  int hours = 0, rest = 0;
  const bool colon = text.size() == 6 && text[3] == ':';
  const bool ok = (colon || text.size() == 5) && (text[0] == '+' || text[0] == '-') &&
                  Digits(text, 1, 2, hours) && Digits(text, colon ? 4 : 3, 2, rest) && hours <= 14 &&
                  rest < 60;
  if (!ok) {
    error = "time zone '" + std::string(text) + "' is not an offset from UTC such as +09:00";
    return 0;
  }
  minutes = (text[0] == '-' ? -1 : 1) * (hours * 60 + rest);
  return 1;
}

int GnuCashPostDay(std::string_view stored, std::optional<int> offsetMinutes, int32_t& yyyymmdd,
                   std::string& error) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const bool spaced = stored.size() == 19 && stored[4] == '-' && stored[7] == '-' && stored[10] == ' ' &&
                      stored[13] == ':' && stored[16] == ':';
  const std::size_t at[6] = {
      0, spaced ? 5u : 4u, spaced ? 8u : 6u, spaced ? 11u : 8u, spaced ? 14u : 10u, spaced ? 17u : 12u};
  const bool read = (spaced || stored.size() == 14) && Digits(stored, at[0], 4, y) &&
                    Digits(stored, at[1], 2, mo) && Digits(stored, at[2], 2, d) &&
                    Digits(stored, at[3], 2, h) && Digits(stored, at[4], 2, mi) &&
                    Digits(stored, at[5], 2, s);
  using namespace std::chrono;
  const year_month_day day{year{y}, month{static_cast<unsigned>(mo)},
                           std::chrono::day{static_cast<unsigned>(d)}};
  if (!read || !day.ok() || h > 23 || mi > 59 || s > 59) {
    error = "post date '" + std::string(stored) + "' is not a GnuCash date";
    return 0;
  }
  if (h == 10 && mi == 59 && s == 0) {
    yyyymmdd = y * 10000 + mo * 100 + d;
    return 1;
  }
  if (!offsetMinutes) {
    error = "post date '" + std::string(stored) +
            "' is an old GnuCash book's local midnight in UTC: give the book's time zone (--timezone +09:00)";
    return 0;
  }
  const sys_seconds utc = sys_days(day) + hours(h) + minutes(mi) + seconds(s);
  const year_month_day local{floor<days>(utc + minutes(*offsetMinutes))};
  yyyymmdd = int(local.year()) * 10000 + static_cast<int>(unsigned(local.month())) * 100 +
             static_cast<int>(unsigned(local.day()));
  return 1;
}

}  // namespace orbeck::import

// GnuCash's stored dates: "YYYY-MM-DD HH:MM:SS" in UTC ("YYYYMMDDHHMMSS" in the oldest
// books). Books of current versions put every transaction at 10:59:00 UTC, which is the same
// calendar day in every time zone; older ones stored the local midnight converted to UTC,
// which names the right day only once the book's time zone is known.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbeck::import {

// "+09:00", "-05:00", "+0900", "UTC" or "Z" -> minutes east of UTC; 0 with a reason.
int ParseUtcOffset(std::string_view text, int& minutes, std::string& error);

// The calendar day (yyyymmdd) a stored post date names. Without an offset only a 10:59:00
// date is read; any other time is refused as an old book's date that needs the time zone.
int GnuCashPostDay(std::string_view stored, std::optional<int> offsetMinutes, int32_t& yyyymmdd,
                   std::string& error);

}  // namespace orbeck::import

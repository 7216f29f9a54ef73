// The values of a journal CSV's fields: dates ("2024/04/01", "2024-4-1", "20240401") and
// amounts (yen with thousands separators and at most four decimals, optionally signed).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orbeck::import {

// Blanks (ASCII and the ideographic space) cut from both ends.
std::string_view TrimField(std::string_view field);

// yyyymmdd of a real calendar day; 0 with a reason otherwise.
int ParseCsvDate(std::string_view text, int32_t& yyyymmdd, std::string& error);

// Ten-thousandths of a yen; an empty field is 0. 0 with a reason for anything else that is
// not such an amount.
int ParseCsvAmount(std::string_view text, int64_t& amount, std::string& error);

}  // namespace orbeck::import

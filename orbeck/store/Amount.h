// Amounts of the host data document: decimal strings of yen with at most four decimals,
// held as int64 ten-thousandths of a yen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbeck::store {

// "1500000", "123.4567", "-2.5" -> ten-thousandths; an empty optional with a reason in
// *error when the text is not such a number or does not fit int64.
std::optional<int64_t> ParseAmount(std::string_view text, std::string* error);

// The shortest decimal text that ParseAmount reads back to the same value.
std::string FormatAmount(int64_t tenThousandths);

}  // namespace orbeck::store

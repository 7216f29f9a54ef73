// Decimal quantities of yen as the sources give them (a mantissa and its decimal places)
// turned into ten-thousandths of a yen, exactly or not at all.
#pragma once

#include <cstdint>
#include <string>

namespace orbeck::import {

// mantissa / 10^places in ten-thousandths of a yen; 0 with a message when the value has
// more than 4 decimals (trailing zeros do not count) or does not fit int64.
int TenThousandths(int64_t mantissa, int places, int64_t& out, std::string& error);

// A yen commodity as journals write it: "", "¥", "￥", "円", "JPY".
bool IsYen(const std::string& commodity);

}  // namespace orbeck::import

// Decimal quantities of yen in ten-thousandths of a yen.
#include "tools/orbeck-import/YenAmount.h"

#include <limits>

namespace orbeck::import {

int TenThousandths(int64_t mantissa, int places, int64_t& out, std::string& error) {
  if (places < 0) {
    error = "a negative number of decimals";
    return 0;
  }
  while (places > 4 && mantissa % 10 == 0) {
    mantissa /= 10;
    --places;
  }
  if (places > 4) {
    error = "more than 4 decimals";
    return 0;
  }
  int64_t value = mantissa;
  for (int i = places; i < 4; ++i) {
    if (value > std::numeric_limits<int64_t>::max() / 10 ||
        value < std::numeric_limits<int64_t>::min() / 10) {
      error = "an amount too large";
      return 0;
    }
    value *= 10;
  }
  out = value;
  return 1;
}

bool IsYen(const std::string& commodity) {
  return commodity.empty() || commodity == "¥" || commodity == "￥" || commodity == "円" ||
         commodity == "JPY";
}

}  // namespace orbeck::import

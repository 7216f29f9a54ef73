// Amounts as decimal yen text, exact: no floating point on the way.
#include "tools/orbeck-import/YenText.h"

namespace orbeck::import {

std::string YenText(int64_t tenThousandths) {
  bool negative = tenThousandths < 0;
  // The magnitude as unsigned, so that the smallest int64 has one too.
  uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(tenThousandths) : static_cast<uint64_t>(tenThousandths);
  std::string text = std::to_string(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + 10000).substr(1);
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return negative ? "-" + text : text;
}

}  // namespace orbeck::import

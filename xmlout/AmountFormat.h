// The amount format of the document: whole yen from ten-thousandths of a yen, truncated
// toward zero, in plain decimal with a leading minus sign when negative.
#pragma once

#include <cstdint>
#include <string>

inline int64_t ToYen(int64_t tenThousandths) { return tenThousandths / 10000; }

inline std::string FormatYen(int64_t yen) { return std::to_string(yen); }

// The text of an Amount attribute: empty when the yen value is zero.
inline std::string AmountAttribute(int64_t tenThousandths) {
  const int64_t yen = ToYen(tenThousandths);
  return yen == 0 ? std::string() : FormatYen(yen);
}

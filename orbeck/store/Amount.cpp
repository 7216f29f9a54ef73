// Decimal text <-> ten-thousandths of a yen, exact and overflow-checked.
#include "orbeck/store/Amount.h"

namespace orbeck::store {

std::optional<int64_t> ParseAmount(std::string_view text, std::string* error) {
  auto fail = [&](const char* why) -> std::optional<int64_t> {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  bool negative = false;
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  std::size_t digitsStart = i;
  // Accumulate negatively so that INT64_MIN itself is representable.
  int64_t value = 0;
  auto addDigit = [&](char c) {
    int64_t shifted = 0;
    if (__builtin_mul_overflow(value, int64_t{10}, &shifted)) return false;
    return !__builtin_sub_overflow(shifted, int64_t{c - '0'}, &value);
  };
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (!addDigit(text[i])) return fail("amount does not fit in 64-bit ten-thousandths of a yen");
  }
  if (i == digitsStart) return fail("amount must be a decimal number of yen such as \"1500\" or \"-2.5\"");
  int decimals = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++decimals) {
      if (decimals == 4) return fail("amount has more than 4 decimals");
      if (!addDigit(text[i])) return fail("amount does not fit in 64-bit ten-thousandths of a yen");
    }
    if (decimals == 0) return fail("amount must have digits after the decimal point");
  }
  if (i != text.size()) return fail("amount must be a decimal number of yen such as \"1500\" or \"-2.5\"");
  for (; decimals < 4; ++decimals) {
    if (!addDigit('0')) return fail("amount does not fit in 64-bit ten-thousandths of a yen");
  }
  if (!negative) {
    if (value == INT64_MIN) return fail("amount does not fit in 64-bit ten-thousandths of a yen");
    value = -value;
  }
  return value;
}

std::string FormatAmount(int64_t tenThousandths) {
  bool negative = tenThousandths < 0;
  // Work on the unsigned magnitude so that INT64_MIN formats too.
  uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(tenThousandths) : static_cast<uint64_t>(tenThousandths);
  std::string text = std::to_string(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return negative ? "-" + text : text;
}

}  // namespace orbeck::store

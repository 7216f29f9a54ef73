// Element lookups and the amount format.
#include "tools/velmora-inspect/Report.h"

#include <charconv>

namespace inspect {

const Element* Element::Child(std::string_view childName) const {
  for (const Element& c : children) {
    if (c.name == childName) return &c;
  }
  return nullptr;
}

std::string Element::ChildText(std::string_view childName) const {
  const Element* c = Child(childName);
  return c != nullptr ? c->text : std::string();
}

std::optional<std::int64_t> ParseAmount(std::string_view text) {
  if (text.empty() || text.size() > (text[0] == '-' ? 19u : 18u)) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<std::int64_t> ParseAttributeAmount(std::string_view text) {
  if (text.empty()) return 0;
  return ParseAmount(text);
}

std::string WithSeparators(std::int64_t yen) {
  const std::string digits =
      std::to_string(yen < 0 ? -static_cast<unsigned long long>(yen) : static_cast<unsigned long long>(yen));
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return yen < 0 ? "-" + out : out;
}

std::string Accounting(std::int64_t yen) {
  const std::string text = WithSeparators(yen);
  return yen < 0 ? "△" + text.substr(1) : text;
}

std::int64_t Plus(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return b > 0 ? INT64_MAX : INT64_MIN;
  return sum;
}

std::int64_t Minus(std::int64_t a, std::int64_t b) {
  std::int64_t difference = 0;
  if (__builtin_sub_overflow(a, b, &difference)) return b < 0 ? INT64_MAX : INT64_MIN;
  return difference;
}

std::string PathLabel(std::string_view label) {
  constexpr std::size_t kMax = 96;
  if (label.size() <= kMax) return std::string(label);
  std::size_t cut = kMax;
  while (cut > 0 && (static_cast<unsigned char>(label[cut]) & 0xC0) == 0x80) --cut;
  return std::string(label.substr(0, cut)) + "…";
}

}  // namespace inspect

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
  if (text.empty()) return std::nullopt;
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

}  // namespace inspect

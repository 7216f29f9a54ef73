// The code page 932 routines over any bytes: conversions both ways, the full-width form,
// bounded copies and the byte scans that must respect double-byte characters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Cp932.h"

namespace cp932 = platform::cp932;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const cp932::Conversion utf8 = cp932::ToUtf8(text);
  if (utf8.ok) {
    const cp932::Conversion back = cp932::FromUtf8(utf8.text);
    if (!back.ok) __builtin_trap();
  }
  (void)cp932::FromUtf8(text);
  (void)cp932::ToFullWidth(text);

  const std::size_t limit = size / 2;
  const std::string bounded = cp932::BoundedString(text, limit);
  if (bounded.size() > limit || text.substr(0, bounded.size()) != bounded) __builtin_trap();
  char buffer[16];
  const std::size_t copied = cp932::BoundedCopy(buffer, sizeof buffer, text);
  if (copied >= sizeof buffer || buffer[copied] != '\0') __builtin_trap();

  for (char ch : {'\\', '/', ',', ':'}) {
    const std::size_t first = cp932::FindChar(text, ch);
    const std::size_t last = cp932::FindLastChar(text, ch);
    if ((first == std::string_view::npos) != (last == std::string_view::npos)) __builtin_trap();
    if (first != std::string_view::npos && (text[first] != ch || last < first || text[last] != ch))
      __builtin_trap();
  }
  for (std::size_t at = 0; at < size;) {
    const std::size_t length = cp932::CharLength(text, at);
    if (length == 0) __builtin_trap();
    at += length;
  }
  (void)cp932::EqualsIgnoreCase(text.substr(0, limit), text.substr(limit));
  return 0;
}

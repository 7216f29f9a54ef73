// Code page 932 classification and bounded copies; the conversions are the system's
// (platform/posix through iconv, platform/win32 through the Win32 code page 932 table).
#include "platform/Cp932.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::cp932 {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

std::size_t CharLength(std::string_view text, std::size_t offset) {
  if (offset + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[offset])) &&
      IsTrailByte(static_cast<unsigned char>(text[offset + 1]))) {
    return 2;
  }
  return 1;
}

std::size_t FindChar(std::string_view text, char ch, std::size_t from) {
  for (std::size_t i = 0, len = 0; i < text.size(); i += len) {
    len = CharLength(text, i);
    if (i >= from && len == 1 && text[i] == ch) return i;
  }
  return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view text, char ch) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0, len = 0; i < text.size(); i += len) {
    len = CharLength(text, i);
    if (len == 1 && text[i] == ch) found = i;
  }
  return found;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t i = 0; i < a.size();) {
    std::size_t len = CharLength(a, i);
    if (len == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (fold(a[i]) != fold(b[i])) {
      return false;
    }
    i += len;
  }
  return true;
}

bool IsMbsTrail(std::string_view text, std::size_t offset) {
  std::size_t i = 0;
  while (i < text.size() && i <= offset) {
    std::size_t len = CharLength(text, i);
    if (len == 2 && offset == i + 1) return true;
    i += len;
  }
  return false;
}

bool IsDbcsBytePosition(std::string_view text, std::size_t offset) {
  std::size_t i = 0;
  while (i < text.size() && i <= offset) {
    std::size_t len = CharLength(text, i);
    if (len == 2 && (offset == i || offset == i + 1)) return true;
    i += len;
  }
  return false;
}

std::size_t BoundedLength(std::string_view src, std::size_t maxBytes) {
  // Every character of a text that fits fits: no need to walk it.
  if (src.size() <= maxBytes) return src.size();
  std::size_t i = 0;
  while (i < src.size()) {
    std::size_t len = CharLength(src, i);
    if (i + len > maxBytes) break;
    i += len;
  }
  return i;
}

std::string BoundedString(std::string_view src, std::size_t maxBytes) {
  return std::string(src.substr(0, BoundedLength(src, maxBytes)));
}

std::size_t BoundedCopy(char* dst, std::size_t capacity, std::string_view src) {
  if (capacity == 0) return 0;
  // The ledger copies several fields per posting: no string in between.
  const std::size_t length = BoundedLength(src, capacity - 1);
  std::memmove(dst, src.data(), length);
  dst[length] = '\0';
  return length;
}

std::string LiteralFromUtf8(const char* utf8Literal) {
  Conversion c = FromUtf8(utf8Literal);
  if (!c.ok) {
    std::fprintf(stderr, "program text not in code page 932: %s (%s)\n", utf8Literal, c.error.c_str());
    std::abort();
  }
  return c.text;
}

}  // namespace platform::cp932

// Code page 932 conversions through Windows' own table (MultiByteToWideChar and
// WideCharToMultiByte with code page 932), refusing bytes and characters that do not map
// instead of substituting them, as the iconv conversions do on Linux.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/Cp932.h"
#include "platform/win32/Wide.h"

// After the project's headers: windows.h defines macros named like their constants.
#include <windows.h>

namespace platform::cp932 {

namespace {

constexpr UINT kCodePage = 932;

std::optional<std::wstring> FromCodePage(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
}

std::optional<std::string> ToCodePage(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int length = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                           nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, text.data(), length, nullptr,
                        &usedDefault);
  if (usedDefault) return std::nullopt;
  return text;
}

std::size_t Utf8Length(std::string_view text, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(length, text.size() - offset);
}

// The same message as the Linux conversion, naming the first character that does not map.
Conversion Failure(std::size_t offset, bool incomplete, const char* from, const char* to) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s at byte offset %zu: text does not map from %s to %s",
                incomplete ? "incomplete character" : "invalid character", offset, from, to);
  return Conversion{false, {}, buf};
}

}  // namespace

Conversion ToUtf8(std::string_view cp932Text) {
  std::optional<std::wstring> wide = FromCodePage(cp932Text);
  std::optional<std::string> utf8 = wide ? win32::Utf8(*wide) : std::nullopt;
  if (utf8) return Conversion{true, std::move(*utf8), {}};
  for (std::size_t i = 0; i < cp932Text.size();) {
    const std::size_t length = CharLength(cp932Text, i);
    if (!FromCodePage(cp932Text.substr(i, length))) {
      const bool incomplete =
          i + 1 == cp932Text.size() && IsLeadByte(static_cast<unsigned char>(cp932Text[i]));
      return Failure(i, incomplete, "CP932", "UTF-8");
    }
    i += length;
  }
  return Failure(0, false, "CP932", "UTF-8");
}

Conversion FromUtf8(std::string_view utf8Text) {
  std::optional<std::wstring> wide = win32::Utf16(utf8Text);
  std::optional<std::string> text = wide ? ToCodePage(*wide) : std::nullopt;
  if (text) return Conversion{true, std::move(*text), {}};
  for (std::size_t i = 0; i < utf8Text.size();) {
    const std::size_t length = Utf8Length(utf8Text, i);
    std::optional<std::wstring> one = win32::Utf16(utf8Text.substr(i, length));
    if (!one || !ToCodePage(*one)) return Failure(i, false, "UTF-8", "CP932");
    i += length;
  }
  return Failure(0, false, "UTF-8", "CP932");
}

}  // namespace platform::cp932

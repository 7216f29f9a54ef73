// Code page 932 to and from UTF-16 through MultiByteToWideChar / WideCharToMultiByte.
#include "platform/win32ui/Win32Text.h"

#include <windows.h>

namespace platform::win32ui {
namespace {

constexpr UINT kCodePage = 932;

// The bytes of text, or false when one of its characters has no code page 932 form.
bool ToCodePage(std::wstring_view text, std::string& bytes) {
  bytes.clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int length = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                           nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return false;
  bytes.resize(static_cast<std::size_t>(length));
  ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, nullptr,
                        &usedDefault);
  return !usedDefault;
}

}  // namespace

std::wstring Wide(std::string_view cp932Text) {
  if (cp932Text.empty()) return {};
  const int size = static_cast<int>(cp932Text.size());
  const int length = ::MultiByteToWideChar(kCodePage, 0, cp932Text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(kCodePage, 0, cp932Text.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  std::string whole;
  if (ToCodePage(text, whole)) return whole;
  std::string kept;
  std::string one;
  for (std::size_t i = 0; i < text.size();) {
    // A surrogate pair is one character.
    const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
    const std::size_t units = pair ? 2 : 1;
    if (ToCodePage(text.substr(i, units), one)) kept += one;
    i += units;
  }
  return kept;
}

}  // namespace platform::win32ui

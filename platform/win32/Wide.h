// UTF-8 and UTF-16 at the Win32 boundary: the wide calls take UTF-16, our native paths are
// UTF-8. Only files of platform/win32 include this.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

// None when the text is not valid UTF-8 (or UTF-16).
std::optional<std::wstring> Utf16(std::string_view utf8);
std::optional<std::string> Utf8(std::wstring_view utf16);

}  // namespace platform::win32

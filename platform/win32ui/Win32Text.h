// Code page 932 and UTF-16 at the window calls: the wide calls take UTF-16, the program's
// texts are code page 932. Both directions go through Windows' own code page 932 table.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32ui {

// Bytes that do not map come out as Windows' replacement character.
std::wstring Wide(std::string_view cp932Text);
// What a user typed: characters that code page 932 cannot hold are left out, as an ANSI
// edit cannot hold them either.
std::string Narrow(std::wstring_view text);

}  // namespace platform::win32ui

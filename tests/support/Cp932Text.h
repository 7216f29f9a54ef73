// Code page 932 text for tests, converted by iconv (glibc's on Linux, over Windows' own
// table in the Windows build: tests/support/win32/iconv.h), never by the program's own
// conversion, so that expected bytes come from an independent source.
#pragma once

#include <string>

namespace velmora::test {

// The code page 932 bytes of UTF-8 text; a test failure when it has none.
std::string Cp932(const std::string& utf8);
// The UTF-8 text of code page 932 bytes; a test failure when they are not code page 932.
std::string Utf8(const std::string& cp932);
// For reports: the UTF-8 text, or the bytes as they are when they are not code page 932.
std::string Utf8OrBytes(const std::string& cp932);

}  // namespace velmora::test

// Conversions between UTF-8 and code page 932 through iconv, for expected test values.
#include "tests/support/Cp932Text.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace velmora::test {
namespace {

// The converted text, or the reason there is none.
bool Convert(const std::string& text, const char* to, const char* from, std::string& out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    out = std::string("iconv cannot convert ") + from + " to " + to;
    return false;
  }
  std::string in = text;
  out.assign(text.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) {
    out = std::string("iconv finds no ") + to + " form of the " + from + " text at byte " +
          std::to_string(text.size() - inLeft);
    return false;
  }
  out.resize(out.size() - outLeft);
  return true;
}

std::string Checked(const std::string& text, const char* to, const char* from) {
  std::string out;
  if (Convert(text, to, from, out)) return out;
  ADD_FAILURE() << out;
  return "<not convertible>";
}

}  // namespace

std::string Cp932(const std::string& utf8) { return Checked(utf8, "CP932", "UTF-8"); }

std::string Utf8(const std::string& cp932) { return Checked(cp932, "UTF-8", "CP932"); }

std::string Utf8OrBytes(const std::string& cp932) {
  std::string utf8;
  return Convert(cp932, "UTF-8", "CP932", utf8) ? utf8 : cp932;
}

}  // namespace velmora::test

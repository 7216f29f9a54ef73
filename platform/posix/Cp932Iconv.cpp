// Code page 932 conversions through glibc's iconv, whose CP932 is the Windows table.
#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "platform/Cp932.h"

namespace platform::cp932 {

namespace {

Conversion Convert(std::string_view input, const char* to, const char* from) {
  Conversion result;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    result.error = std::string("iconv cannot convert from ") + from + " to " + to;
    return result;
  }
  std::string out(input.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  int err = errno;
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) {
    std::size_t offset = input.size() - inLeft;
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s at byte offset %zu: text does not map from %s to %s",
                  err == EINVAL ? "incomplete character" : "invalid character", offset, from, to);
    result.error = buf;
    return result;
  }
  out.resize(out.size() - outLeft);
  result.ok = true;
  result.text = std::move(out);
  return result;
}

}  // namespace

Conversion ToUtf8(std::string_view cp932Text) { return Convert(cp932Text, "UTF-8", "CP932"); }

Conversion FromUtf8(std::string_view utf8Text) { return Convert(utf8Text, "CP932", "UTF-8"); }

}  // namespace platform::cp932

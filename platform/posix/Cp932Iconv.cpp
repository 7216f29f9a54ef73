// Code page 932 conversions through glibc's iconv, whose CP932 is the Windows table.
#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "platform/Cp932.h"

namespace platform::cp932 {

namespace {

// One converter per direction and thread, opened at its first use: opening one costs
// more than converting a line, and the loader and the ledger convert millions of them.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Back to the initial state, as a fresh converter starts.
  iconv_t Fresh() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

Conversion Convert(std::string_view input, Converter& converter, const char* to, const char* from) {
  Conversion result;
  if (!converter.Ok()) {
    result.error = std::string("iconv cannot convert from ") + from + " to " + to;
    return result;
  }
  iconv_t cd = converter.Fresh();
  // The text is converted into a buffer kept per thread and then copied at its exact size:
  // the loader keeps a million converted texts, which must not each hold four times room.
  constexpr std::size_t kKeptBufferBytes = 1 << 16;  // a long saved document's room is not kept
  thread_local std::string out;
  out.resize(input.size() * 4 + 4);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  int err = errno;
  if (rc == static_cast<std::size_t>(-1)) {
    std::size_t offset = input.size() - inLeft;
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s at byte offset %zu: text does not map from %s to %s",
                  err == EINVAL ? "incomplete character" : "invalid character", offset, from, to);
    result.error = buf;
    return result;
  }
  result.ok = true;
  result.text.assign(out.data(), out.size() - outLeft);
  if (out.capacity() > kKeptBufferBytes) std::string().swap(out);
  return result;
}

}  // namespace

Conversion ToUtf8(std::string_view cp932Text) {
  thread_local Converter converter("UTF-8", "CP932");
  return Convert(cp932Text, converter, "UTF-8", "CP932");
}

Conversion FromUtf8(std::string_view utf8Text) {
  thread_local Converter converter("CP932", "UTF-8");
  return Convert(utf8Text, converter, "CP932", "UTF-8");
}

}  // namespace platform::cp932

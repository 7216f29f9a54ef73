// UTF-8 text in code page 932 as glibc's iconv converts it: the engine tests' independent
// source of the expected bytes.
#pragma once

#include <iconv.h>

#include <string>

inline std::string Cp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<iconv unavailable>";
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size();
  size_t outLeft = out.size();
  const size_t converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (converted == static_cast<size_t>(-1)) return "<not convertible: " + utf8 + ">";
  out.resize(out.size() - outLeft);
  return out;
}

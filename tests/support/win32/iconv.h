// The tests' reference conversions for the Windows build, where glibc's iconv is missing:
// the same calls over Windows' own code page 932 table (MultiByteToWideChar and
// WideCharToMultiByte, one character at a time, refusing what does not map). Encodings:
// CP932 (SHIFT_JIS is taken as the same), UTF-8, UTF-32LE.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

using iconv_t = void*;

// The two Win32 calls, declared here rather than through windows.h, whose macros would
// clash with the program's own constants of the same names.
extern "C" __declspec(dllimport) int __stdcall MultiByteToWideChar(unsigned int, unsigned long, const char*,
                                                                   int, wchar_t*, int);
extern "C" __declspec(dllimport) int __stdcall WideCharToMultiByte(unsigned int, unsigned long,
                                                                   const wchar_t*, int, char*, int,
                                                                   const char*, int*);

namespace velmora_iconv {

enum Encoding : std::intptr_t { kNone, kCp932, kUtf8, kUtf32 };

inline constexpr unsigned kCodePage932 = 932;
inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned long kErrInvalidChars = 0x8;  // MB_ERR_INVALID_CHARS
inline constexpr unsigned long kNoBestFit = 0x400;      // WC_NO_BEST_FIT_CHARS

inline Encoding Parse(const char* name) {
  const std::string n = name;
  if (n == "CP932" || n == "SHIFT_JIS" || n == "SJIS") return kCp932;
  if (n == "UTF-8") return kUtf8;
  if (n == "UTF-32LE") return kUtf32;
  return kNone;
}

// One character from the input: its code point and length, 0 for an invalid character,
// -1 for one cut off by the end.
inline int Decode(Encoding from, const unsigned char* in, std::size_t left, char32_t& cp) {
  if (from == kUtf32) {
    if (left < 4) return -1;
    cp = static_cast<char32_t>(in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<unsigned>(in[3]) << 24));
    return 4;
  }
  int length = 1;
  if (from == kCp932) {
    if ((in[0] >= 0x81 && in[0] <= 0x9F) || (in[0] >= 0xE0 && in[0] <= 0xFC)) length = 2;
  } else {
    length = in[0] < 0x80 ? 1 : in[0] >= 0xF0 ? 4 : in[0] >= 0xE0 ? 3 : in[0] >= 0xC0 ? 2 : 0;
    if (length == 0) return 0;
  }
  if (static_cast<std::size_t>(length) > left) return -1;
  wchar_t wide[2];
  const unsigned page = from == kCp932 ? kCodePage932 : kCodePageUtf8;
  const int count =
      ::MultiByteToWideChar(page, kErrInvalidChars, reinterpret_cast<const char*>(in), length, wide, 2);
  if (count == 1) {
    cp = wide[0];
  } else if (count == 2 && wide[0] >= 0xD800 && wide[0] < 0xDC00) {
    cp = 0x10000 + ((wide[0] - 0xD800) << 10) + (wide[1] - 0xDC00);
  } else {
    return 0;
  }
  return length;
}

// The character in the output encoding; empty when it has no form there.
inline std::string Encode(Encoding to, char32_t cp) {
  if (to == kUtf32) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((cp >> (8 * i)) & 0xFF);
    return out;
  }
  wchar_t wide[2];
  int count = 1;
  if (cp >= 0x10000) {
    wide[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
    wide[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    count = 2;
  } else {
    wide[0] = static_cast<wchar_t>(cp);
  }
  char out[8];
  int usedDefault = 0;
  const int length =
      to == kCp932
          ? ::WideCharToMultiByte(kCodePage932, kNoBestFit, wide, count, out, 8, nullptr, &usedDefault)
          : ::WideCharToMultiByte(kCodePageUtf8, 0, wide, count, out, 8, nullptr, nullptr);
  if (length <= 0 || usedDefault) return {};
  return std::string(out, static_cast<std::size_t>(length));
}

}  // namespace velmora_iconv

inline iconv_t iconv_open(const char* to, const char* from) {
  const auto t = velmora_iconv::Parse(to);
  const auto f = velmora_iconv::Parse(from);
  if (t == velmora_iconv::kNone || f == velmora_iconv::kNone) return reinterpret_cast<iconv_t>(-1);
  return reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(t * 16 + f));
}

inline int iconv_close(iconv_t) { return 0; }

inline std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
  if (in == nullptr || *in == nullptr) return 0;
  const auto code = reinterpret_cast<std::intptr_t>(cd);
  const auto to = static_cast<velmora_iconv::Encoding>(code / 16);
  const auto from = static_cast<velmora_iconv::Encoding>(code % 16);
  while (*inLeft > 0) {
    char32_t cp = 0;
    const int length = velmora_iconv::Decode(from, reinterpret_cast<const unsigned char*>(*in), *inLeft, cp);
    if (length <= 0) {
      errno = length < 0 ? EINVAL : EILSEQ;
      return static_cast<std::size_t>(-1);
    }
    const std::string bytes = velmora_iconv::Encode(to, cp);
    if (bytes.empty()) {
      errno = EILSEQ;
      return static_cast<std::size_t>(-1);
    }
    if (bytes.size() > *outLeft) {
      errno = E2BIG;
      return static_cast<std::size_t>(-1);
    }
    std::memcpy(*out, bytes.data(), bytes.size());
    *out += bytes.size();
    *outLeft -= bytes.size();
    *in += length;
    *inLeft -= static_cast<std::size_t>(length);
  }
  return 0;
}

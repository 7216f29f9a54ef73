// Code page 932 (Shift_JIS as Windows defines it): byte classification, multibyte-aware
// copies, conversion to and from UTF-8, and the full-width mapping of LCMapString.
// Text inside the program is std::string of code page 932 bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::cp932 {

bool IsLeadByte(unsigned char byte);   // 0x81-0x9F, 0xE0-0xFC
bool IsTrailByte(unsigned char byte);  // 0x40-0x7E, 0x80-0xFC

// _ismbstrail: true when the byte at offset is the second byte of a double-byte
// character, scanning character by character from the start of the text.
bool IsMbsTrail(std::string_view text, std::size_t offset);

// True when the byte at offset is the first or the second byte of a double-byte character.
bool IsDbcsBytePosition(std::string_view text, std::size_t offset);

// Length in bytes of the character that starts at offset: 2 for a lead byte followed by a
// trail byte, else 1 (a lone lead byte at the end counts as one byte).
std::size_t CharLength(std::string_view text, std::size_t offset);

// Offset of the first character equal to the single byte ch at or after from, stepping over
// double-byte characters (so a second byte 0x5C is never found as a backslash); npos if none.
std::size_t FindChar(std::string_view text, char ch, std::size_t from = 0);
// Offset of the last single-byte character equal to ch; npos if none.
std::size_t FindLastChar(std::string_view text, char ch);

// Equality ignoring the case of single-byte letters; double-byte characters compare exactly,
// so a second byte in the range of a letter is never folded.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The length of the longest prefix of src of at most maxBytes bytes that splits no character.
std::size_t BoundedLength(std::string_view src, std::size_t maxBytes);
// The longest prefix of src of at most maxBytes bytes that does not split a double-byte character.
std::string BoundedString(std::string_view src, std::size_t maxBytes);

// Copies BoundedString(src, capacity - 1) into dst and terminates it; returns the bytes copied.
std::size_t BoundedCopy(char* dst, std::size_t capacity, std::string_view src);

// Result of a conversion: ok, or an error naming the first byte offset that does not map.
struct Conversion {
  bool ok = false;
  std::string text;
  std::string error;
};

Conversion ToUtf8(std::string_view cp932Text);
Conversion FromUtf8(std::string_view utf8Text);

// LCMapString with the full-width flag: half-width ASCII (blank included) and half-width
// katakana (voiced and semi-voiced marks combined) become their double-byte forms.
std::string ToFullWidth(std::string_view cp932Text);

// A UTF-8 literal of the program's own texts in code page 932; aborts on a literal that
// does not map, which is a programming error caught by the first test that runs it.
std::string LiteralFromUtf8(const char* utf8Literal);

}  // namespace platform::cp932

// The program's own texts are written in UTF-8 source and held as code page 932 bytes:
// SJ("決算書") converts once per call site and keeps the result.
#define SJ(utf8Literal)                                                                   \
  ([]() -> const std::string& {                                                           \
    static const std::string converted = ::platform::cp932::LiteralFromUtf8(utf8Literal); \
    return converted;                                                                     \
  }())

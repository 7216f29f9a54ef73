// ToFullWidth: the full-width mapping of LCMapString under code page 932. Each half-width
// form is mapped through its Unicode full-width counterpart and converted back to code page
// 932 once, into a table indexed by the single byte.
#include "platform/Cp932.h"

#include <array>

namespace platform::cp932 {

namespace {

// Full-width Unicode forms of the half-width katakana 0xA1-0xDF, in byte order.
constexpr std::array<char16_t, 63> kKatakana = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

std::string Utf8Of(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// Code page 932 bytes of a Unicode character; empty when code page 932 has no such character.
std::string Cp932Of(char32_t cp) {
  Conversion c = FromUtf8(Utf8Of(cp));
  return c.ok ? c.text : std::string();
}

char32_t FullWidthOf(unsigned char byte) {
  if (byte == 0x20) return U'\u3000';
  if (byte >= 0x21 && byte <= 0x7E) return 0xFF01 + (byte - 0x21);
  if (byte >= 0xA1 && byte <= 0xDF) return kKatakana[byte - 0xA1];
  return 0;
}

// A half-width kana that takes the voiced mark: ｳ, ｶ-ﾄ and ﾊ-ﾎ. Only those combinations exist in
// code page 932 (ﾜﾞ and ｦﾞ have no double-byte form there and stay two characters).
bool TakesVoicedMark(unsigned char byte) {
  return byte == 0xB3 || (byte >= 0xB6 && byte <= 0xC4) || (byte >= 0xCA && byte <= 0xCE);
}

bool TakesSemiVoicedMark(unsigned char byte) { return byte >= 0xCA && byte <= 0xCE; }

struct Tables {
  std::array<std::string, 256> single;
  std::array<std::string, 256> voiced;
  std::array<std::string, 256> semiVoiced;
};

Tables BuildTables() {
  Tables tables;
  for (unsigned b = 0; b < 256; ++b) {
    auto byte = static_cast<unsigned char>(b);
    char32_t full = FullWidthOf(byte);
    if (full == 0) continue;
    tables.single[b] = Cp932Of(full);
    // ヴ is not next to ウ in Unicode; the other voiced and semi-voiced kana follow their base.
    if (TakesVoicedMark(byte)) tables.voiced[b] = Cp932Of(byte == 0xB3 ? U'ヴ' : full + 1);
    if (TakesSemiVoicedMark(byte)) tables.semiVoiced[b] = Cp932Of(full + 2);
  }
  return tables;
}

const Tables& GetTables() {
  static const Tables tables = BuildTables();
  return tables;
}

}  // namespace

std::string ToFullWidth(std::string_view cp932Text) {
  const Tables& tables = GetTables();
  std::string out;
  out.reserve(cp932Text.size() * 2);
  for (std::size_t i = 0; i < cp932Text.size();) {
    std::size_t len = CharLength(cp932Text, i);
    auto byte = static_cast<unsigned char>(cp932Text[i]);
    if (len == 2 || tables.single[byte].empty()) {
      out.append(cp932Text.substr(i, len));
      i += len;
      continue;
    }
    unsigned char next = i + 1 < cp932Text.size() ? static_cast<unsigned char>(cp932Text[i + 1]) : 0;
    if (next == kVoicedMark && !tables.voiced[byte].empty()) {
      out += tables.voiced[byte];
      i += 2;
    } else if (next == kSemiVoicedMark && !tables.semiVoiced[byte].empty()) {
      out += tables.semiVoiced[byte];
      i += 2;
    } else {
      out += tables.single[byte];
      i += 1;
    }
  }
  return out;
}

}  // namespace platform::cp932

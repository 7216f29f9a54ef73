// Code page 932 classification against glibc's iconv table, the double-byte rule on
// characters whose second byte is 0x5C, bounded copies and conversion errors.
#include "platform/Cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/support/Cp932Text.h"

using velmora::test::Cp932;

namespace cp = platform::cp932;

namespace {

// True when iconv decodes the bytes as exactly one complete character.
bool DecodesAsOneChar(const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  char in[4];
  bytes.copy(in, bytes.size());
  char out[16];
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = bytes.size();
  std::size_t outLeft = sizeof out;
  std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  return rc != static_cast<std::size_t>(-1) && inLeft == 0 && sizeof out - outLeft == 4;
}

TEST(Cp932ClassificationTest, AgreesWithIconvTableForEveryTwoByteSequence) {
  std::set<unsigned> pairLeads;
  std::set<unsigned> pairTrails;
  for (unsigned a = 0; a < 256; ++a) {
    if (DecodesAsOneChar(std::string(1, static_cast<char>(a)))) {
      EXPECT_FALSE(cp::IsLeadByte(static_cast<unsigned char>(a))) << "byte " << a << " decodes alone";
      continue;
    }
    for (unsigned b = 0; b < 256; ++b) {
      std::string pair{static_cast<char>(a), static_cast<char>(b)};
      if (!DecodesAsOneChar(pair)) continue;
      pairLeads.insert(a);
      pairTrails.insert(b);
      EXPECT_EQ(2u, cp::CharLength(pair, 0)) << "pair " << a << " " << b;
    }
  }
  for (unsigned a = 0; a < 256; ++a) {
    if (pairLeads.count(a) != 0) {
      EXPECT_TRUE(cp::IsLeadByte(static_cast<unsigned char>(a))) << "lead " << a;
    }
  }
  for (unsigned b = 0; b < 256; ++b) {
    EXPECT_EQ(pairTrails.count(b) != 0, cp::IsTrailByte(static_cast<unsigned char>(b))) << "trail " << b;
  }
  EXPECT_GT(pairLeads.size(), 50u);
}

// 表 is 0x95 0x5C and ソ is 0x83 0x5C: the 0x5C is the second byte, not a backslash.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(Cp932DoubleByteRuleTest, SecondByte5CIsPartOfTheCharacter) {
  for (const std::string& ch : {kHyo, kSo}) {
    std::string text = "a" + ch + "\\b";
    EXPECT_FALSE(cp::IsMbsTrail(text, 0));
    EXPECT_FALSE(cp::IsMbsTrail(text, 1));
    EXPECT_TRUE(cp::IsMbsTrail(text, 2));
    EXPECT_FALSE(cp::IsMbsTrail(text, 3));
    EXPECT_FALSE(cp::IsDbcsBytePosition(text, 0));
    EXPECT_TRUE(cp::IsDbcsBytePosition(text, 1));
    EXPECT_TRUE(cp::IsDbcsBytePosition(text, 2));
    EXPECT_FALSE(cp::IsDbcsBytePosition(text, 3));
    EXPECT_FALSE(cp::IsDbcsBytePosition(text, 4));
    EXPECT_EQ(3u, cp::FindChar(text, '\\'));
    EXPECT_EQ(3u, cp::FindLastChar(text, '\\'));
    EXPECT_EQ(std::string::npos, cp::FindChar(ch + ch, '\\'));
    EXPECT_EQ(std::string::npos, cp::FindLastChar(ch, '\\'));
  }
}

TEST(Cp932DoubleByteRuleTest, ScanIsFromTheStartNotFromTheNeighbour) {
  // 0x83 0x83 0x5C: the first pair is a character (ャ), so the 0x5C stands alone.
  std::string text = "\x83\x83\x5C";
  EXPECT_TRUE(cp::IsMbsTrail(text, 1));
  EXPECT_FALSE(cp::IsMbsTrail(text, 2));
  EXPECT_EQ(2u, cp::FindChar(text, '\\'));
  // A lone lead byte at the end is one byte of its own.
  EXPECT_EQ(1u, cp::CharLength("\x95", 0));
  EXPECT_FALSE(cp::IsDbcsBytePosition("a\x95", 1));
  EXPECT_EQ(1u, cp::FindChar("\\\\", '\\', 1));
}

TEST(Cp932DoubleByteRuleTest, CaseFoldingLeavesDoubleByteCharactersAlone) {
  EXPECT_TRUE(cp::EqualsIgnoreCase("Zentor" + kHyo + "Def.ini", "zENTOR" + kHyo + "dEF.INI"));
  // ア (0x83 0x41) and ヂ (0x83 0x61): second bytes that look like A and a are not letters.
  EXPECT_FALSE(cp::EqualsIgnoreCase("\x83\x41", "\x83\x61"));
  EXPECT_FALSE(cp::EqualsIgnoreCase("x\x83\x41", "X\x83\x61"));
  // Only a-z fold: the bytes 0x40-0x60 around them stay distinct (@ and `, [ and {).
  EXPECT_FALSE(cp::EqualsIgnoreCase("@[", "`{"));
  EXPECT_FALSE(cp::EqualsIgnoreCase("abc", "ab"));
  EXPECT_TRUE(cp::EqualsIgnoreCase("", ""));
}

TEST(Cp932BoundedCopyTest, NeverSplitsADoubleByteCharacter) {
  const std::string text = "A" + kHyo + "B" + kSo + kSo + "C";
  for (std::size_t limit = 0; limit <= text.size() + 1; ++limit) {
    std::string bounded = cp::BoundedString(text, limit);
    EXPECT_LE(bounded.size(), limit);
    EXPECT_EQ(0u, text.rfind(bounded, 0)) << "not a prefix at " << limit;
    EXPECT_TRUE(cp::ToUtf8(bounded).ok) << "split at " << limit;
    // The next character would not have fitted.
    if (bounded.size() < text.size()) {
      EXPECT_GT(bounded.size() + cp::CharLength(text, bounded.size()), limit);
    }
  }
  char buffer[5];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(3u, cp::BoundedCopy(buffer, 4, "A" + kHyo + "B"));
  EXPECT_EQ("A" + kHyo, std::string(buffer));
  EXPECT_EQ(2u, cp::BoundedCopy(buffer, 4, kSo + kSo));
  EXPECT_EQ(kSo, std::string(buffer));
  EXPECT_EQ(0u, cp::BoundedCopy(buffer, 0, "abc"));
}

TEST(Cp932ConversionTest, RoundTripAndErrorsNameTheOffset) {
  cp::Conversion utf8 = cp::ToUtf8("a" + kHyo + kSo);
  ASSERT_TRUE(utf8.ok) << utf8.error;
  EXPECT_EQ("a表ソ", utf8.text);
  EXPECT_EQ("a" + kHyo + kSo, cp::FromUtf8(utf8.text).text);

  cp::Conversion bad = cp::ToUtf8("ab\x85\x40");  // an unassigned row
  EXPECT_FALSE(bad.ok);
  EXPECT_NE(std::string::npos, bad.error.find("offset 2")) << bad.error;

  cp::Conversion cut = cp::ToUtf8("abc\x95");
  EXPECT_FALSE(cut.ok);
  EXPECT_NE(std::string::npos, cut.error.find("offset 3")) << cut.error;

  cp::Conversion emoji = cp::FromUtf8("x\xF0\x9F\x98\x80");
  EXPECT_FALSE(emoji.ok);
  EXPECT_NE(std::string::npos, emoji.error.find("offset 1")) << emoji.error;
}

TEST(Cp932ConversionTest, ProgramLiteralsAreCodePage932) {
  EXPECT_EQ("\x8C\x88\x8E\x5A\x8F\x91", SJ("決算書"));
  EXPECT_EQ(Cp932("決算書"), SJ("決算書"));
  EXPECT_EQ(Cp932("　"), SJ("　"));
  EXPECT_EQ(Cp932("出力先のフォルダ（表）が見つかりません。"),
            SJ("出力先のフォルダ（表）が見つかりません。"));
  EXPECT_EQ(Cp932("①～Ⅹ"), SJ("①～Ⅹ"));
  // One conversion per call site: the same site gives the same object each time.
  auto site = []() -> const std::string* { return &SJ("決算書"); };
  EXPECT_EQ(site(), site());
}

}  // namespace

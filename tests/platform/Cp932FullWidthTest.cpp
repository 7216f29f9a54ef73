// The full-width mapping checked against ICU's Halfwidth-Fullwidth transliterator, with
// iconv converting between code page 932 and Unicode on both sides.
#include "platform/Cp932.h"

#include <gtest/gtest.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>

namespace cp = platform::cp932;

namespace {

class Cp932FullWidthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UErrorCode status = U_ZERO_ERROR;
    transliterator_.reset(icu::Transliterator::createInstance("Halfwidth-Fullwidth", UTRANS_FORWARD, status));
    ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  }

  // ICU's full-width form of code page 932 text, back in code page 932; empty when the result
  // has no code page 932 form. ICU gives the combining voiced marks; code page 932 has only
  // their spacing forms, which are what stands for a mark left alone.
  std::string Expected(const std::string& cp932) {
    std::string utf8 = cp::ToUtf8(cp932).text;
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
    transliterator_->transliterate(text);
    text.findAndReplace(icu::UnicodeString(static_cast<UChar>(0x3099)),
                        icu::UnicodeString(static_cast<UChar>(0x309B)));
    text.findAndReplace(icu::UnicodeString(static_cast<UChar>(0x309A)),
                        icu::UnicodeString(static_cast<UChar>(0x309C)));
    std::string out;
    text.toUTF8String(out);
    cp::Conversion back = cp::FromUtf8(out);
    return back.ok ? back.text : std::string();
  }

  std::unique_ptr<icu::Transliterator> transliterator_;
};

TEST_F(Cp932FullWidthTest, EverySingleHalfWidthCharacter) {
  for (unsigned b = 0x20; b <= 0xDF; ++b) {
    if (b > 0x7E && b < 0xA1) continue;
    std::string in(1, static_cast<char>(b));
    std::string expected = Expected(in);
    ASSERT_FALSE(expected.empty()) << "byte " << b;
    EXPECT_EQ(expected, cp::ToFullWidth(in)) << "byte " << b;
    EXPECT_EQ(2u, cp::ToFullWidth(in).size()) << "byte " << b;
  }
  EXPECT_EQ("\x81\x40", cp::ToFullWidth(" "));
  EXPECT_EQ("\x81\x5F", cp::ToFullWidth("\\"));
}

TEST_F(Cp932FullWidthTest, KanaWithMarksCombineWhereCodePage932HasTheCharacter) {
  for (unsigned kana = 0xA6; kana <= 0xDD; ++kana) {
    for (unsigned mark : {0xDEu, 0xDFu}) {
      std::string in{static_cast<char>(kana), static_cast<char>(mark)};
      std::string combined = Expected(in);
      // Where ICU's combination has no code page 932 form (ヷ, ヺ), the two stay apart.
      std::string expected = combined.empty() || combined.size() == 4
                                 ? Expected(in.substr(0, 1)) + Expected(in.substr(1))
                                 : combined;
      EXPECT_EQ(expected, cp::ToFullWidth(in)) << "kana " << kana << " mark " << mark;
    }
  }
  EXPECT_EQ(cp::FromUtf8("ガパヴ").text, cp::ToFullWidth(cp::FromUtf8("ｶﾞﾊﾟｳﾞ").text));
}

TEST_F(Cp932FullWidthTest, DoubleByteAndOtherBytesAreCopiedWhole) {
  // 表 (0x95 0x5C) and ｱ (0xA1..) as a second byte: 0x83 0xA1 is one character.
  std::string text = std::string("\x95\x5C") + "A" + "\x83\xA1" + "\x80" + "\x95";
  EXPECT_EQ(std::string("\x95\x5C") + "\x82\x60" + "\x83\xA1" + "\x80" + "\x95", cp::ToFullWidth(text));
  EXPECT_EQ(Expected("ABC 123"), cp::ToFullWidth("ABC 123"));
  EXPECT_EQ("", cp::ToFullWidth(""));
}

}  // namespace

// The unsupported-notes warning, compared with the text converted by iconv.
#include <gtest/gtest.h>

#include "app/UnsupportedNotesWarning.h"
#include "tests/support/Cp932Text.h"

using velmora::test::Cp932;

TEST(UnsupportedNotesWarning, NoMarkedKindGivesNoWarning) {
  uint8_t flags[kNoteDispFlagCount] = {};
  for (int code : {0, 1, 15, 18, 19, 22, 31, 34, 49}) flags[code] = 1;
  EXPECT_EQ("", UnsupportedNotesWarning(flags));
}

TEST(UnsupportedNotesWarning, LinesFollowTheTableOrderNotTheCodes) {
  uint8_t flags[kNoteDispFlagCount] = {};
  flags[33] = 1;
  flags[16] = 2;
  flags[32] = 1;
  const std::string expected = Cp932(
      "以下の注記は連動に対応していません。\nこれらの注記はZentor上で手入力してください。\n\n"
      "・会計上の見積もりに関する注記\n"
      "・金融商品に関する注記\n"
      "・収益認識に関する注記\n"
      "\nこれらの注記を除いて処理を続行します。");
  EXPECT_EQ(expected, UnsupportedNotesWarning(flags));
}

TEST(UnsupportedNotesWarning, AllSixKinds) {
  uint8_t flags[kNoteDispFlagCount] = {};
  for (int code : {16, 17, 20, 21, 32, 33}) flags[code] = 1;
  const std::string expected = Cp932(
      "以下の注記は連動に対応していません。\nこれらの注記はZentor上で手入力してください。\n\n"
      "・会計上の見積もりに関する注記\n"
      "・会計上の見積もりの変更に関する注記\n"
      "・誤謬の訂正に関する注記\n"
      "・金融商品に関する注記\n"
      "・賃貸等不動産に関する注記\n"
      "・収益認識に関する注記\n"
      "\nこれらの注記を除いて処理を続行します。");
  EXPECT_EQ(expected, UnsupportedNotesWarning(flags));
}

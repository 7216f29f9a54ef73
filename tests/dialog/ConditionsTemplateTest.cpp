// Template 130: the properties the key handling and the scripted user rely on, and its texts
// checked against UTF-8 through iconv.
#include "dialog/ConditionsTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/Cp932Text.h"

using velmora::test::Utf8;

namespace {

const platform::ControlTemplate* Find(int id) {
  for (const auto& c : ConditionsTemplate().controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

TEST(ConditionsTemplate, FrameAndTabOrder) {
  const platform::DialogTemplate& t = ConditionsTemplate();
  EXPECT_EQ(130, t.id);
  EXPECT_EQ("決算書 - 集計条件", Utf8(t.caption));
  EXPECT_EQ("ＭＳ Ｐゴシック", Utf8(t.fontName));
  ASSERT_EQ(25u, t.controls.size());
  std::string tabOrder;
  for (const auto& c : t.controls) {
    EXPECT_EQ(0u, c.style & platform::StyleDefaultButton) << c.id;
    if (c.style & platform::StyleTabStop) tabOrder += std::to_string(c.id) + " ";
  }
  EXPECT_EQ("1016 1000 1015 1001 1002 1003 1021 ", tabOrder);
}

TEST(ConditionsTemplate, EditsAndButtons) {
  for (int id : {1016, 1000}) {
    const auto* edit = Find(id);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(2, edit->maxLength);
    EXPECT_NE(0u, edit->style & platform::StyleDigitsOnly);
    EXPECT_NE(0u, edit->style & platform::StyleAlignRight);
  }
  const auto* path = Find(1015);
  ASSERT_NE(nullptr, path);
  EXPECT_EQ(255, path->maxLength);
  EXPECT_NE(0u, path->style & platform::StyleAutoHScroll);
  EXPECT_NE(0u, path->style & platform::StyleStaticEdge);
  for (int id : {1019, 1020}) {
    ASSERT_NE(nullptr, Find(id));
    EXPECT_EQ(platform::ControlKind::RadioButton, Find(id)->kind);
    EXPECT_EQ(0u, Find(id)->style & platform::StyleTabStop);
  }
  EXPECT_EQ("実行(F12)", Utf8(Find(1002)->text));
  EXPECT_EQ("キャンセル(Esc)", Utf8(Find(1003)->text));
  EXPECT_EQ("参照(&D)...", Utf8(Find(1001)->text));
  EXPECT_EQ("出力先(&O)", Utf8(Find(1014)->text));
  EXPECT_EQ("総勘定元帳の情報を出力する(&N)", Utf8(Find(1021)->text));
  EXPECT_EQ("株主／社員資本", Utf8(Find(1010)->text));
}

// One control as a line: id, kind, text (UTF-8), position and size, style letters, limit.
// Style letters: T tab stop, G group, D digits only, R right-aligned, V vertically centred,
// B border, E static edge, H horizontal auto-scroll, a automatic radio, c automatic check box.
std::string Describe(const platform::ControlTemplate& c) {
  static const char* const kKinds[] = {"label", "edit", "push", "radio", "check", "group", "progress"};
  static const std::pair<std::uint32_t, char> kLetters[] = {
      {platform::StyleTabStop, 'T'},    {platform::StyleGroup, 'G'},         {platform::StyleDigitsOnly, 'D'},
      {platform::StyleAlignRight, 'R'}, {platform::StyleCenterV, 'V'},       {platform::StyleBorder, 'B'},
      {platform::StyleStaticEdge, 'E'}, {platform::StyleAutoHScroll, 'H'},   {platform::StyleAutoRadio, 'a'},
      {platform::StyleAutoCheck, 'c'},  {platform::StyleDefaultButton, '!'}, {platform::StyleDisabled, 'X'},
      {platform::StyleSmooth, 'S'}};
  std::string letters;
  for (const auto& [bit, letter] : kLetters) {
    if (c.style & bit) letters += letter;
  }
  return std::to_string(c.id) + " " + kKinds[static_cast<int>(c.kind)] + " \"" + Utf8(c.text) + "\" " +
         std::to_string(c.x) + "," + std::to_string(c.y) + "," + std::to_string(c.width) + "," +
         std::to_string(c.height) + " " + letters + " " + std::to_string(c.maxLength);
}

TEST(ConditionsTemplate, EveryControlInOrder) {
  const std::vector<std::string> expected = {
      "1005 label \"事業所名\" 7,7,35,12 GV 0",
      "-1 label \"：\" 58,7,9,12 R 0",
      "1006 label \" 会社名\" 73,7,165,12 V 0",
      "1007 label \"会計期間\" 7,28,35,12 GV 0",
      "-1 label \"：\" 58,28,9,12 R 0",
      "1008 label \" 2002/01/11～2002/12/31\" 73,28,165,12 V 0",
      "1009 label \"集計期間\" 7,49,35,12 GV 0",
      "-1 label \"：\" 58,49,9,12 R 0",
      "1011 label \"月度(&S)\" 96,49,25,12 GV 0",
      "1016 edit \"\" 73,49,18,12 TDRB 2",
      "1012 label \"～\" 122,50,8,12 R 0",
      "1013 label \"月度(&E)\" 159,49,25,12 GV 0",
      "1000 edit \"\" 137,49,18,12 TDRB 2",
      "1010 label \"株主／社員資本\" 7,70,50,12 GV 0",
      "1017 label \"等変動計算書の\" 7,80,50,12 GV 0",
      "1018 label \"選択\" 7,90,50,12 GV 0",
      "-1 label \"：\" 58,70,9,12 R 0",
      "1019 radio \"株主資本等変動計算書の情報を出力する(&K)\" 74,71,178,11 a 0",
      "1020 radio \"社員資本等変動計算書の情報を出力する(&M)\" 74,84,178,11 a 0",
      "1014 group \"出力先(&O)\" 7,120,268,35 G 0",
      "1015 edit \"\" 12,134,195,12 TBEH 255",
      "1001 push \"参照(&D)...\" 211,133,57,14 T 0",
      "1002 push \"実行(F12)\" 156,158,57,14 TG 0",
      "1003 push \"キャンセル(Esc)\" 218,158,57,14 TG 0",
      "1021 check \"総勘定元帳の情報を出力する(&N)\" 8,104,140,12 Tc 0",
  };
  std::vector<std::string> actual;
  for (const auto& c : ConditionsTemplate().controls) actual.push_back(Describe(c));
  EXPECT_EQ(expected, actual);

  const platform::DialogTemplate& t = ConditionsTemplate();
  EXPECT_EQ(282, t.width);
  EXPECT_EQ(178, t.height);
  EXPECT_EQ(9, t.fontPoints);
  EXPECT_EQ(
      platform::DialogPopup | platform::DialogCaption | platform::DialogSysMenu | platform::DialogModalFrame,
      t.style);
}

}  // namespace

// Template 130: the properties the key handling and the scripted user rely on, and its texts
// checked against UTF-8 through iconv.
#include "dialog/ConditionsTemplate.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

namespace {

// An independent conversion of template text to UTF-8.
std::string Utf8(const std::string& cp932) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  std::string out(cp932.size() * 4, '\0');
  char* in = const_cast<char*>(cp932.data());
  std::size_t inLeft = cp932.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

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

}  // namespace

// The dialog font and units: the template's Japanese face drawn by the IPA font, and dialog
// units converted to pixels as the Windows dialog manager converts them.
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "platform/qt/DialogUnits.h"
#include "tests/qt/QtFixture.h"

namespace velmora::qttest {
namespace {

TEST(QtDialogFont, JapaneseFaceMapsToTheIpaFontAndSetsTheUnits) {
  EnsureApplication();
  platform::DialogTemplate tmpl;
  tmpl.fontName = platform::cp932::LiteralFromUtf8("ＭＳ Ｐゴシック");
  tmpl.fontPoints = 9;
  const QFont font = platform::qt::DialogFont(tmpl);
  EXPECT_EQ(QStringLiteral("IPAPGothic"), QFontInfo(font).family());
  EXPECT_EQ(12, font.pixelSize());
  const platform::qt::DialogUnits units = platform::qt::UnitsOf(font);
  const QFontMetrics metrics(font);
  int letters = 0;
  for (char c = 'A'; c <= 'Z'; ++c) letters += metrics.horizontalAdvance(QLatin1Char(c));
  for (char c = 'a'; c <= 'z'; ++c) letters += metrics.horizontalAdvance(QLatin1Char(c));
  // Per-letter advances summed may differ from the string's width by rounding only.
  EXPECT_NEAR(letters / 52.0, units.baseWidth, 1.0);
  EXPECT_EQ(metrics.ascent() + metrics.descent(), units.baseHeight);
}

TEST(QtDialogUnits, ConvertLikeTheDialogManager) {
  const platform::qt::DialogUnits units{7, 13};
  EXPECT_EQ(0, units.X(0));
  EXPECT_EQ(2, units.X(1));      // 1.75
  EXPECT_EQ(494, units.X(282));  // 493.5 rounds up
  EXPECT_EQ(20, units.Y(12));    // 19.5
  EXPECT_EQ(289, units.Y(178));  // 289.25
}

}  // namespace
}  // namespace velmora::qttest

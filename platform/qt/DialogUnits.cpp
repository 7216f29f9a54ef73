// Dialog units and the dialog font.
#include "platform/qt/DialogUnits.h"

#include <cmath>

#include <QFontMetrics>

#include "platform/qt/QtText.h"

namespace platform::qt {
namespace {

int MulDiv(int value, int numerator, int denominator) {
  return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

int DialogUnits::X(int du) const { return MulDiv(du, baseWidth, 4); }
int DialogUnits::Y(int du) const { return MulDiv(du, baseHeight, 8); }

DialogUnits UnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogUnits{static_cast<int>(std::lround(letters / 52.0)), metrics.height()};
}

void InstallFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
  QFont::insertSubstitution(QStringLiteral("MS Shell Dlg"), QStringLiteral("IPAPGothic"));
}

QFont DialogFont(const DialogTemplate& tmpl) {
  InstallFontSubstitutions();
  QFont font(tmpl.fontName.empty() ? QStringLiteral("MS Shell Dlg") : ToQString(tmpl.fontName));
  // Points at the 96 dots per inch of a Windows desktop, so that a layout does not depend
  // on the display's reported resolution.
  font.setPixelSize(MulDiv(tmpl.fontPoints > 0 ? tmpl.fontPoints : 9, 96, 72));
  return font;
}

}  // namespace platform::qt

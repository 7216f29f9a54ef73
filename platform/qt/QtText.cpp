// Conversion between code page 932 and QString through UTF-8.
#include "platform/qt/QtText.h"

#include <QList>

#include "platform/Cp932.h"

namespace platform::qt {

QString ToQString(const std::string& cp932Text) {
  const cp932::Conversion utf8 = cp932::ToUtf8(cp932Text);
  if (utf8.ok) return QString::fromStdString(utf8.text);
  return QString::fromLatin1(cp932Text.data(), static_cast<qsizetype>(cp932Text.size()));
}

bool HasCp932Form(const QString& text) { return cp932::FromUtf8(text.toStdString()).ok; }

std::string FromQString(const QString& text) {
  cp932::Conversion whole = cp932::FromUtf8(text.toStdString());
  if (whole.ok) return std::move(whole.text);
  std::string kept;
  for (const uint codePoint : text.toUcs4()) {
    const cp932::Conversion one =
        cp932::FromUtf8(QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1).toStdString());
    if (one.ok) kept += one.text;
  }
  return kept;
}

}  // namespace platform::qt

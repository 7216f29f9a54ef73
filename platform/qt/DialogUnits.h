// Dialog units to pixels, as the Windows dialog manager converts them: the base units are
// the dialog font's average character width (the width of the 52 Latin letters / 52,
// rounded) and its character height; x = du * width / 4, y = du * height / 8, rounded.
#pragma once

#include <QFont>

#include "platform/ui/DialogTemplate.h"

namespace platform::qt {

struct DialogUnits {
  int baseWidth = 0;   // pixels
  int baseHeight = 0;  // pixels
  int X(int du) const;
  int Y(int du) const;
};

DialogUnits UnitsOf(const QFont& font);

// The dialog's font: the template's face and size, the Japanese faces mapped to the
// installed IPA fonts.
QFont DialogFont(const DialogTemplate& tmpl);

// Maps the Japanese Windows faces to the IPA fonts; idempotent.
void InstallFontSubstitutions();

}  // namespace platform::qt

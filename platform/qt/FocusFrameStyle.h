// The keyboard focus drawn as the Windows dialogs draw it: a dotted rectangle inside a push
// button and around the text of a check box or radio button, over whatever the application's
// style draws (its own focus mark is a faint one-pixel frame).
#pragma once

#include <QProxyStyle>

namespace platform::qt {

class FocusFrameStyle : public QProxyStyle {
 public:
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
};

// The one instance of the process, over the application's style; it goes with the application.
QStyle* FocusFrame();

}  // namespace platform::qt

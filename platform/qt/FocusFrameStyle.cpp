// The focus rectangle over the application's style.
#include "platform/qt/FocusFrameStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QStyleOption>

namespace platform::qt {

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  if (!(option->state & State_HasFocus)) return;
  QRect frame;
  switch (element) {
    case CE_PushButton:
      // The inset of the Windows button's focus rectangle: inside its three-pixel bevel.
      frame = option->rect.adjusted(3, 3, -4, -4);
      break;
    case CE_CheckBox:
      frame = subElementRect(SE_CheckBoxFocusRect, option, widget);
      break;
    case CE_RadioButton:
      frame = subElementRect(SE_RadioButtonFocusRect, option, widget);
      break;
    default:
      return;
  }
  // Every other pixel, as the Windows focus rectangle; a rectangle's outline is drawn one
  // pixel beyond its right and bottom edges.
  QPen pen(option->palette.color(QPalette::WindowText), 0);
  pen.setDashPattern({1.0, 1.0});
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setBrush(Qt::NoBrush);
  painter->setPen(pen);
  painter->drawRect(frame.adjusted(0, 0, -1, -1));
  painter->restore();
}

QStyle* FocusFrame() {
  static QPointer<FocusFrameStyle> style;
  if (!style) {
    style = new FocusFrameStyle;
    style->setParent(QApplication::instance());
  }
  return style;
}

}  // namespace platform::qt

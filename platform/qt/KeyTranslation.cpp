// Qt key presses to dialog keys.
#include "platform/qt/KeyTranslation.h"

namespace platform::qt {

std::optional<KeyMessage> TranslateKey(const QKeyEvent& event) {
  KeyMessage message;
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  message.shift = modifiers.testFlag(Qt::ShiftModifier);
  message.ctrl = modifiers.testFlag(Qt::ControlModifier);
  message.alt = modifiers.testFlag(Qt::AltModifier);
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      message.key = Key::Enter;
      return message;
    case Qt::Key_F12:
      message.key = Key::F12;
      return message;
    case Qt::Key_Escape:
      message.key = Key::Esc;
      return message;
    case Qt::Key_Tab:
      message.key = Key::Tab;
      return message;
    case Qt::Key_Backtab:
      message.key = Key::Tab;
      message.shift = true;
      return message;
    default:
      return std::nullopt;
  }
}

}  // namespace platform::qt

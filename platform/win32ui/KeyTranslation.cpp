// Virtual-key codes to dialog keys.
#include "platform/win32ui/KeyTranslation.h"

#include <windows.h>

namespace platform::win32ui {

std::optional<KeyMessage> TranslateKey(unsigned virtualKey, bool shift, bool ctrl, bool alt) {
  KeyMessage message;
  message.shift = shift;
  message.ctrl = ctrl;
  message.alt = alt;
  switch (virtualKey) {
    case VK_RETURN:
      message.key = Key::Enter;
      return message;
    case VK_F12:
      message.key = Key::F12;
      return message;
    case VK_ESCAPE:
      message.key = Key::Esc;
      return message;
    case VK_TAB:
      message.key = Key::Tab;
      return message;
    default:
      return std::nullopt;
  }
}

}  // namespace platform::win32ui

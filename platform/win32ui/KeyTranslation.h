// The keys the dialogs handle themselves (Enter, F12, Esc, Tab) from Win32 key-downs; every
// other key stays with the control that has the focus.
#pragma once

#include <optional>

#include "platform/ui/Dialog.h"

namespace platform::win32ui {

// The dialog key of a virtual-key code with its Shift, Ctrl and Alt state; none for others.
std::optional<KeyMessage> TranslateKey(unsigned virtualKey, bool shift, bool ctrl, bool alt);

}  // namespace platform::win32ui

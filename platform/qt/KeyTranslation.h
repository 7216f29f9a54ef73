// The keys the dialogs handle themselves (Enter, F12, Esc, Tab) from Qt key presses;
// every other key stays with the widget that has the focus.
#pragma once

#include <optional>

#include <QKeyEvent>

#include "platform/ui/Dialog.h"

namespace platform::qt {

// The dialog key of a key press with its Shift, Ctrl and Alt state; none for other keys.
// Back-tab is Tab with Shift.
std::optional<KeyMessage> TranslateKey(const QKeyEvent& event);

}  // namespace platform::qt

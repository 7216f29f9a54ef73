// The Qt6 Widgets backend: real windows laid out from the dialog templates, the user's keys
// and clicks delivered to the dialog's control model, message boxes and the save-file dialog.
// The program never sees Qt; an edition executable registers this backend at start-up.
#pragma once

#include <memory>

#include "platform/ui/UiBackend.h"

namespace platform::qt {

// Registers the GUI backend factory with the start-up: it creates the application object
// when a display can be opened (the offscreen platform counts) and returns none otherwise.
void RegisterGuiBackend();

// The backend itself, or none when no display can be opened. An application object that
// already exists (tests) is used as it is.
std::unique_ptr<UiBackend> CreateGuiBackend(int& argc, char** argv);

// True when the Qt platform plugin chosen by the environment can open a display.
bool DisplayAvailable();

}  // namespace platform::qt

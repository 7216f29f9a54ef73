// Starting the application: chooses the UI backend, runs the application object and
// returns its exit code. The scripted backend is chosen when VELMORA_UI_SCRIPT names a
// file; otherwise the GUI backend registered with SetGuiBackendFactory, when a display is
// available; with neither, a clear message on standard error and exit code 2.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/UiBackend.h"
#include "platform/ui/WinApp.h"

namespace platform {

// A GUI backend factory; returns none when no display can be opened.
using GuiBackendFactory = std::function<std::unique_ptr<UiBackend>(int& argc, char** argv)>;
void SetGuiBackendFactory(GuiBackendFactory factory);

// argv[1..] joined by blanks is the command line (converted from UTF-8 to code page 932).
int RunApplication(CWinApp& app, int argc, char** argv);

}  // namespace platform

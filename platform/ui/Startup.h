// Starting the application: chooses the UI backend, runs the application object and
// returns its exit code. The automation backend is chosen when VELMORA_UI_SCRIPT names a
// file; otherwise the GUI backend, when a display is available; with neither, a clear
// message on standard error and exit code 2. The executable registers the backends it
// links, so that no backend depends on another.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UiBackend.h"
#include "platform/ui/WinApp.h"

namespace platform {

// A GUI backend factory; returns none when no display can be opened.
using GuiBackendFactory = std::function<std::unique_ptr<UiBackend>(int& argc, char** argv)>;
void SetGuiBackendFactory(GuiBackendFactory factory);

// An automation backend factory: the backend playing the script's text (read from
// scriptPath) and appending its events to transcriptPath (empty: none); none with the lines
// that say why, each printed after the program's name.
using ScriptBackendFactory = std::function<std::unique_ptr<UiBackend>(
    const std::string& scriptPath, const std::string& scriptText, const std::string& transcriptPath,
    std::vector<std::string>& errors)>;
void SetScriptBackendFactory(ScriptBackendFactory factory);

// argv[1..] joined by blanks is the command line (converted from UTF-8 to code page 932).
int RunApplication(CWinApp& app, int argc, char** argv);

}  // namespace platform

// Registration of the Win32 backend with the start-up: on Windows a desktop is always
// there, so the program's windows are native unless an automation script is named.
#pragma once

#include <memory>

#include "platform/ui/UiBackend.h"

namespace platform::win32ui {

void RegisterGuiBackend();

std::unique_ptr<UiBackend> CreateGuiBackend(int& argc, char** argv);

}  // namespace platform::win32ui

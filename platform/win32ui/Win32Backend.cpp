// The Win32 backend's factory for the start-up.
#include "platform/win32ui/Win32Backend.h"

#include "platform/ui/Startup.h"
#include "platform/win32ui/Win32UiBackend.h"

namespace platform::win32ui {

std::unique_ptr<UiBackend> CreateGuiBackend(int&, char**) { return std::make_unique<Win32UiBackend>(); }

void RegisterGuiBackend() { SetGuiBackendFactory(&CreateGuiBackend); }

}  // namespace platform::win32ui

// Calls on the host's windows on Windows: the handle is a real window of the host
// application, so each call is the Win32 call it stands for. A handle that names no window
// is ignored, as Windows ignores it. A program window put under a host window is the one the
// UI backend made for it (the call's childWindow).
#include "platform/HostWindows.h"

// After the project's headers: windows.h defines macros named like their constants.
#include <windows.h>
// The call kind of the same name is ours; the wide function is called by its own name.
#undef PostMessage

namespace platform::host {

namespace {

::HWND Real(platform::HWND hwnd) { return reinterpret_cast<::HWND>(hwnd); }

}  // namespace

// Host windows are reached directly, not through a socket.
std::string HostWindowPath(platform::HWND) { return {}; }

bool SendHostCall(const HostWindowCall& call) {
  if (call.hwnd <= 0 || !::IsWindow(Real(call.hwnd))) return false;
  const ::HWND window = Real(call.hwnd);
  switch (call.kind) {
    case HostWindowCall::Kind::Enable:
      ::EnableWindow(window, call.enable ? TRUE : FALSE);
      return true;
    case HostWindowCall::Kind::Foreground:
      ::SetForegroundWindow(window);
      return true;
    case HostWindowCall::Kind::BringToTop:
      return ::BringWindowToTop(window) != 0;
    case HostWindowCall::Kind::Parent:
      // The program's own window, as the UI backend made it; the program's handle is no HWND.
      if (call.childWindow == 0 || !::IsWindow(Real(call.childWindow))) return false;
      return ::SetParent(Real(call.childWindow), window) != nullptr;
    case HostWindowCall::Kind::PostMessage:
      return ::PostMessageW(window, call.message, static_cast<WPARAM>(call.wParam),
                            static_cast<LPARAM>(call.lParam)) != 0;
  }
  return false;
}

}  // namespace platform::host

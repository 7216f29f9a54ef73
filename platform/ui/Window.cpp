// Window calls by handle: a program window is acted on directly; any other handle is a host
// window reached through the host endpoint, and the call is reported to the UI backend.
// The z-order and repaint calls run six times per progress step and stay allocation-free
// for the program's own windows.
#include "platform/ui/Window.h"

#include "platform/HostWindows.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/UiBackend.h"

namespace platform {
namespace {

int waitCursorDepth = 0;

// Program handles start at 4096, and the host's windows are the system's handles (on
// Linux, numbers from 1048576 on): none is 1.
constexpr HWND kDesktopWindow = 1;

bool CallHost(HostWindowCall call) {
  call.delivered = host::SendHostCall(call);
  Ui().HostCall(call);
  return call.delivered;
}

}  // namespace

bool EnableWindow(HWND hwnd, bool enable) {
  if (CDialog* window = FindProgramWindow(hwnd)) {
    const bool wasDisabled = !window->IsWindowEnabled();
    window->SetWindowEnabled(enable);
    return wasDisabled;
  }
  HostWindowCall call;
  call.kind = HostWindowCall::Kind::Enable;
  call.hwnd = hwnd;
  call.enable = enable;
  CallHost(call);
  // The previous state of a host window is not known here; report it as enabled.
  return false;
}

bool SetForegroundWindow(HWND hwnd) {
  if (CDialog* window = FindProgramWindow(hwnd)) {
    Ui().ZOrder(*window, true);
    return true;
  }
  HostWindowCall call;
  call.kind = HostWindowCall::Kind::Foreground;
  call.hwnd = hwnd;
  return CallHost(call);
}

bool BringWindowToTop(HWND hwnd) {
  if (CDialog* window = FindProgramWindow(hwnd)) {
    Ui().ZOrder(*window, false);
    return true;
  }
  HostWindowCall call;
  call.kind = HostWindowCall::Kind::BringToTop;
  call.hwnd = hwnd;
  return CallHost(call);
}

HWND GetDesktopWindow() { return kDesktopWindow; }

HWND SetParent(HWND child, HWND parent) {
  CDialog* window = FindProgramWindow(child);
  if (!window) return 0;
  if (parent == kDesktopWindow) parent = 0;
  const HWND previous = window->ParentWindow() != 0 ? window->ParentWindow() : kDesktopWindow;
  if (parent != 0 && !FindProgramWindow(parent)) {
    // The system puts the program's real window under the host's, found through the UI
    // backend's window table: the program's handle names no window of the system.
    HostWindowCall call;
    call.kind = HostWindowCall::Kind::Parent;
    call.hwnd = parent;
    call.child = child;
    call.childWindow = Ui().SystemWindow(*window);
    if (!CallHost(call)) return 0;
  }
  window->SetParentWindow(parent);
  return previous;
}

bool UpdateWindow(HWND hwnd) {
  CDialog* window = FindProgramWindow(hwnd);
  if (!window) return false;
  window->UpdateWindow();
  return true;
}

bool PostMessageA(HWND hwnd, std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) {
  // The program's own windows have no message queue of their own here.
  if (FindProgramWindow(hwnd)) return false;
  HostWindowCall call;
  call.kind = HostWindowCall::Kind::PostMessage;
  call.hwnd = hwnd;
  call.message = message;
  call.wParam = wParam;
  call.lParam = lParam;
  return CallHost(call);
}

int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, unsigned type) {
  return Ui().MessageBox(owner, text, caption, type);
}

void BeginWaitCursor() {
  ++waitCursorDepth;
  Ui().WaitCursor(waitCursorDepth);
}

void EndWaitCursor() {
  if (waitCursorDepth == 0) return;
  --waitCursorDepth;
  Ui().WaitCursor(waitCursorDepth);
}

// Shows the wait cursor again after a message box has replaced it; the depth is unchanged.
void RestoreWaitCursor() {
  if (waitCursorDepth > 0) Ui().WaitCursor(waitCursorDepth);
}

}  // namespace platform

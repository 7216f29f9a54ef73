// Window calls by handle. A handle of the program's own window reaches that window; any
// other handle is a host window, reached through the host's window endpoint (a handle with
// no window behind it is ignored). Every call is also reported to the UI backend.
#pragma once

#include <cstdint>
#include <string>

#include "platform/WinTypes.h"

namespace platform {

bool EnableWindow(HWND hwnd, bool enable);
bool SetForegroundWindow(HWND hwnd);
bool BringWindowToTop(HWND hwnd);
// Re-parents a program window under another program window, a host window, or none (0 or the
// desktop: top-level). Returns the former parent, the desktop for a top-level window; 0 when
// the window could not be re-parented (no program window, or a host window the system could
// not put it under), which then keeps its parent.
HWND SetParent(HWND child, HWND parent);
// The desktop's handle, which no program or host window has.
HWND GetDesktopWindow();
bool UpdateWindow(HWND hwnd);
bool PostMessageA(HWND hwnd, std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam);

// Message box with caption, text, icon and buttons (MB_...), owned by owner; returns IDOK, IDYES or IDNO.
int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, unsigned type);

// The wait cursor (CWaitCursor semantics of CWinApp).
void BeginWaitCursor();
void EndWaitCursor();
void RestoreWaitCursor();

}  // namespace platform

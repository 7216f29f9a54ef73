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
HWND SetParent(HWND child, HWND parent);
bool UpdateWindow(HWND hwnd);
bool PostMessageA(HWND hwnd, std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam);

// Message box with caption, text, icon and buttons (MB_...), owned by owner; returns IDOK, IDYES or IDNO.
int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, unsigned type);

// The wait cursor (CWaitCursor semantics of CWinApp).
void BeginWaitCursor();
void EndWaitCursor();
void RestoreWaitCursor();

}  // namespace platform

// The host's window endpoint: a host window handle names a Unix datagram socket
// $ORBECK_HOME/windows/<handle>; each call on the window is one datagram of one text line
// ("enable 0", "foreground", "bringToTop", "parent CHILD", "post MESSAGE WPARAM LPARAM").
#pragma once

#include <string>

#include "platform/ui/UiBackend.h"

namespace platform::host {

// The datagram text of a call.
std::string FormatHostCall(const HostWindowCall& call);

// The socket path of a host window; empty when ORBECK_HOME is not set.
std::string HostWindowPath(HWND hwnd);

// Sends the call to the host window; false when no window listens behind the handle
// (a dead handle is ignored, as Windows ignores it), or when the system could not do it
// (on Windows: a re-parenting whose program window has no window of the system). Never blocks.
bool SendHostCall(const HostWindowCall& call);

}  // namespace platform::host

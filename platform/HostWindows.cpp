// The text form of a call on a host window; delivery is the system's (platform/posix over
// Unix datagram sockets, platform/win32 through the real window calls).
#include "platform/HostWindows.h"

namespace platform::host {

std::string FormatHostCall(const HostWindowCall& call) {
  switch (call.kind) {
    case HostWindowCall::Kind::Enable:
      return call.enable ? "enable 1" : "enable 0";
    case HostWindowCall::Kind::Foreground:
      return "foreground";
    case HostWindowCall::Kind::BringToTop:
      return "bringToTop";
    case HostWindowCall::Kind::Parent:
      return "parent " + std::to_string(call.child);
    case HostWindowCall::Kind::PostMessage:
      return "post " + std::to_string(call.message) + " " + std::to_string(call.wParam) + " " +
             std::to_string(call.lParam);
  }
  return {};
}

}  // namespace platform::host

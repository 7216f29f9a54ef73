// Delivery of window calls to the host's windows over Unix datagram sockets.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/HostWindows.h"

namespace platform::host {

std::string HostWindowPath(HWND hwnd) {
  const char* home = std::getenv("ORBECK_HOME");
  if (!home || !*home) return {};
  return std::string(home) + "/windows/" + std::to_string(hwnd);
}

bool SendHostCall(const HostWindowCall& call) {
  if (call.hwnd <= 0) return false;
  const std::string path = HostWindowPath(call.hwnd);
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const std::string text = FormatHostCall(call);
  const ssize_t sent = ::sendto(fd, text.data(), text.size(), MSG_DONTWAIT,
                                reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  ::close(fd);
  return sent == static_cast<ssize_t>(text.size());
}

}  // namespace platform::host

// The host shell's datagram socket.
#include "HostWindowEndpoint.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

HostWindowEndpoint::~HostWindowEndpoint() {
  if (fd_ >= 0) ::close(fd_);
  if (!path_.empty()) ::unlink(path_.c_str());
}

bool HostWindowEndpoint::Open(const std::string& windowsFolder, long firstHandle, std::string& error) {
  if (::mkdir(windowsFolder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = "cannot create " + windowsFolder + ": " + std::strerror(errno);
    return false;
  }
  fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    error = std::string("cannot create a socket: ") + std::strerror(errno);
    return false;
  }
  // A handle whose socket file is left over from an earlier run is skipped, not taken over.
  for (long handle = firstHandle; handle < firstHandle + 1000; ++handle) {
    const std::string path = windowsFolder + "/" + std::to_string(handle);
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path)) {
      error = "socket path too long: " + path;
      return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
      handle_ = handle;
      path_ = path;
      return true;
    }
    if (errno != EADDRINUSE) {
      error = "cannot bind " + path + ": " + std::strerror(errno);
      return false;
    }
  }
  error = "no free window handle in " + windowsFolder;
  return false;
}

std::optional<std::string> HostWindowEndpoint::Receive(int timeoutMs) {
  pollfd ready{fd_, POLLIN, 0};
  if (::poll(&ready, 1, timeoutMs) <= 0) return std::nullopt;
  char buffer[512];
  const ssize_t size = ::recv(fd_, buffer, sizeof(buffer), MSG_DONTWAIT);
  if (size < 0) return std::nullopt;
  return std::string(buffer, static_cast<std::size_t>(size));
}

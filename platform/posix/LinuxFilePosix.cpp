// Reading with POSIX calls, so that every error is seen.
#include "platform/LinuxFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Faults.h"

namespace platform {

std::optional<std::string> ReadLinuxFile(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t got = faults::Hit("FileRead", path) ? (errno = EIO, -1) : ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = std::strerror(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return content;
}

}  // namespace platform

// Whole-file reads over the system's calls, the same on both systems.
#include "platform/NativeFile.h"

#include "platform/Faults.h"
#include "platform/SystemFiles.h"

namespace platform {

std::optional<std::string> ReadNativeFile(const std::string& path, std::string& error) {
  const int fd = detail::OpenRegularFile(path, error);
  if (fd < 0) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    const bool faulted = faults::Hit("FileRead", path);
    const long got = faulted ? -1 : detail::ReadSome(fd, buffer, sizeof buffer);
    if (got < 0) {
      error = faulted ? "a read failed (fault point FileRead)" : detail::LastSystemError();
      detail::CloseFile(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  detail::CloseFile(fd);
  return content;
}

}  // namespace platform

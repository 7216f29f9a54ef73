// Whole-file reads over File, the same on every system.
#include "platform/WinFs.h"

namespace platform::win {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  File file;
  if (!file.OpenRead(path)) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    long count = file.Read(buffer, sizeof buffer);
    if (count < 0) return std::nullopt;
    if (count == 0) return content;
    content.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace platform::win

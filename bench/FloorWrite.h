// The write half of the benchmark's floors: a document's number of bytes written in 64 KiB
// blocks and made durable with fdatasync, as the export's own file is.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

inline double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// False when the file cannot be written or synced.
inline bool WriteDurable(const char* path, long long bytes) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::vector<char> block(64 * 1024, 'x');
  bool ok = true;
  while (ok && bytes > 0) {
    const auto size =
        static_cast<std::size_t>(std::min<long long>(bytes, static_cast<long long>(block.size())));
    ok = ::write(fd, block.data(), size) == static_cast<ssize_t>(size);
    bytes -= static_cast<long long>(size);
  }
  ok = ok && ::fdatasync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace bench

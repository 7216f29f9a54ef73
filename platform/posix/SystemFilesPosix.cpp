// The file calls on Linux: descriptors from open(2). A file for writing takes an exclusive
// advisory lock before it is truncated; a new file is created with O_EXCL and O_NOFOLLOW; a
// file for reading is opened without waiting (a FIFO would wait for its writer) and taken
// only when fstat says it is regular. Writeback of a written block is started at once with
// sync_file_range, and fdatasync makes the file durable.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/SystemFiles.h"
#include "platform/WinFs.h"

namespace platform::detail {

std::string LastSystemError() { return std::strerror(errno); }

int OpenRegularFile(const std::string& nativePath, std::string& reason) {
  // O_NONBLOCK has no effect on the reads of a regular file, the only kind kept.
  const int fd = ::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = LastSystemError();
    return -1;
  }
  struct stat st {};
  const bool known = ::fstat(fd, &st) == 0;
  if (!known || !S_ISREG(st.st_mode)) {
    reason = known ? kNotRegularFile : LastSystemError();
    ::close(fd);
    return -1;
  }
  return fd;
}

int OpenLockedForWriting(const std::string& nativePath, std::string& reason) {
  const int fd = ::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    reason = LastSystemError();
    return -1;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ftruncate(fd, 0) != 0) {
    reason = errno == EWOULDBLOCK ? "another writer has the file open" : LastSystemError();
    ::close(fd);
    return -1;
  }
  return fd;
}

int CreateNewFile(const std::string& nativePath, bool& exists) {
  const int fd = ::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  exists = fd < 0 && errno == EEXIST;
  return fd;
}

long ReadSome(int fd, char* data, std::size_t size) {
  for (;;) {
    const ssize_t count = ::read(fd, data, size);
    if (count >= 0 || errno != EINTR) return static_cast<long>(count);
  }
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

void StartWriteback(int fd, std::int64_t offset, std::size_t size) {
  ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size), SYNC_FILE_RANGE_WRITE);
}

bool SyncFile(int fd) { return ::fdatasync(fd) == 0; }

bool CloseFile(int fd) { return ::close(fd) == 0; }

bool RandomBytes(unsigned char* bytes, std::size_t count) {
  return ::getrandom(bytes, count, GRND_NONBLOCK) == static_cast<ssize_t>(count);
}

unsigned long long ProcessId() { return static_cast<unsigned long long>(::getpid()); }

std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return win::ToWindowsPath(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp").value_or(std::string());
}

}  // namespace platform::detail

// File: a descriptor opened through the drive map. Create takes an exclusive advisory lock
// before truncating, so a second writer of the same file fails instead of interleaving.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/BlockWriter.h"
#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "platform/WinFsResolve.h"

namespace platform::win {

namespace {

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fd, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Six characters of a temporary name, from the kernel's random source when it answers.
std::string RandomName() {
  unsigned char bytes[6];
  const bool random = ::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bytes);
  return detail::TemporaryName(random ? bytes : nullptr, static_cast<unsigned long long>(::getpid()));
}

// The reason of a path the map does not let the program change, or none.
bool Unreachable(const std::optional<detail::ResolvedPath>& resolved, const std::string& path) {
  if (resolved && !resolved->readOnly) return false;
  detail::NoteFileFailure(detail::UnreachableReason(path));
  return true;
}

}  // namespace

namespace detail {

std::string SystemErrorText() { return std::strerror(errno); }

}  // namespace detail

File::~File() { Close(); }

bool File::Create(const std::string& path) {
  Close();
  if (faults::Hit("FileCreate", path)) {
    detail::NoteFileFailure("the fault point FileCreate fired");
    return false;
  }
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (Unreachable(resolved, path)) return false;
  int fd = ::open(resolved->linuxPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    detail::NoteFileFailure(detail::SystemErrorText());
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ftruncate(fd, 0) != 0) {
    detail::NoteFileFailure(errno == EWOULDBLOCK ? "another writer has the file open"
                                                 : detail::SystemErrorText());
    ::close(fd);
    return false;
  }
  fd_ = fd;
  writing_ = true;
  path_ = path;
  return true;
}

bool File::CreateTemporary(const std::string& targetPath) {
  Close();
  temporaryPath_.clear();
  if (faults::Hit("FileCreate", targetPath)) {
    detail::NoteFileFailure("the fault point FileCreate fired");
    return false;
  }
  const std::size_t separator = cp932::FindLastChar(targetPath, '\\');
  const std::string folder =
      separator == std::string::npos ? std::string() : targetPath.substr(0, separator + 1);
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string candidate = folder + "~vm" + RandomName() + ".tmp";
    std::optional<detail::ResolvedPath> resolved = detail::Resolve(candidate);
    if (Unreachable(resolved, candidate)) return false;
    const int fd =
        ::open(resolved->linuxPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      detail::NoteFileFailure(detail::SystemErrorText());
      return false;
    }
    fd_ = fd;
    writing_ = true;
    path_ = targetPath;
    temporaryPath_ = candidate;
    return true;
  }
  return false;
}

bool File::OpenRead(const std::string& path) {
  Close();
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved) return false;
  fd_ = ::open(resolved->linuxPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  path_ = path;
  return true;
}

bool File::Flush() {
  bool flushed = writer_ == nullptr || writer_->Drain();
  writer_.reset();
  if (!buffer_.empty()) {
    flushed = !faults::Hit("FileFlush", path_) && WriteAll(fd_, buffer_.data(), buffer_.size()) && flushed;
  }
  buffer_.clear();
  return flushed;
}

long File::Read(void* data, std::size_t size) {
  if (fd_ < 0 || faults::Hit("FileRead", path_)) return -1;
  char* bytes = static_cast<char*>(data);
  std::size_t total = 0;
  while (total < size) {
    ssize_t count = ::read(fd_, bytes + total, size - total);
    if (count < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (count == 0) break;
    total += static_cast<std::size_t>(count);
  }
  return static_cast<long>(total);
}

bool File::Close() {
  if (fd_ < 0) return true;
  bool closed = true;
  if (writing_) {
    // A document is renamed over an earlier one once it is closed: it must be on disk first.
    closed = Flush() && ::fdatasync(fd_) == 0;
    if (!closed)
      detail::NoteFileFailure("not all of it reached the disk (" + detail::SystemErrorText() + ")");
  }
  writer_.reset();
  closed = ::close(fd_) == 0 && closed;
  fd_ = -1;
  writing_ = false;
  buffer_.clear();
  path_.clear();
  return closed;
}

}  // namespace platform::win

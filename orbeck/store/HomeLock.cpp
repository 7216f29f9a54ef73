// The home's lock over the system's own: flock of the folder, or a file shared with nobody.
#include "orbeck/store/HomeLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace orbeck::store {
namespace {

std::string Busy(const std::filesystem::path& home) {
  return home.string() + ": another load of this home is under way; load again once it has ended";
}

}  // namespace

#ifdef _WIN32

HomeLock::~HomeLock() {
  if (handle_ != nullptr) ::CloseHandle(handle_);
}

bool HomeLock::Take(const std::filesystem::path& home, std::string& error) {
  const std::filesystem::path file = home / "orbeck.db.lock";
  HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD why = ::GetLastError();
    // A file being deleted on its last close refuses every open with access denied.
    error = why == ERROR_SHARING_VIOLATION || why == ERROR_ACCESS_DENIED
                ? Busy(home)
                : file.string() + ": cannot be locked (error " + std::to_string(why) + ")";
    return false;
  }
  handle_ = handle;
  return true;
}

#else

HomeLock::~HomeLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool HomeLock::Take(const std::filesystem::path& home, std::string& error) {
  const int fd = ::open(home.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = home.string() + ": cannot be opened (" + std::strerror(errno) + ")";
    return false;
  }
  int locked = 0;
  while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    error = errno == EWOULDBLOCK ? Busy(home)
                                 : home.string() + ": cannot be locked (" + std::strerror(errno) + ")";
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

#endif

}  // namespace orbeck::store

// The Windows file and folder calls over the Linux file system. A path that no drive or
// share of the map serves behaves as a path on a missing drive: every call fails. Drives of
// the CD-ROM type refuse every change and every write access test, whatever the Linux
// permissions (the tests run as root, where access(2) grants writes everywhere).
#include "platform/WinFs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/Cp932.h"
#include "platform/DriveMap.h"
#include "platform/Faults.h"
#include "platform/WinFsResolve.h"
#include "platform/WinTypes.h"

namespace platform::win {

namespace {

std::optional<struct stat> Stat(const std::string& path) {
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  struct stat st {};
  if (!resolved || ::stat(resolved->nativePath.c_str(), &st) != 0) return std::nullopt;
  return st;
}

// The Linux path of a path about to be changed; none on a missing or read-only drive.
std::optional<std::string> Writable(const std::string& path) {
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved || resolved->readOnly) return std::nullopt;
  return resolved->nativePath;
}

}  // namespace

int _access(const std::string& path, int mode) {
  // The modes of the C runtime: 0 existence, 2 write, 4 read, 6 read and write.
  if (mode != 0 && mode != 2 && mode != 4 && mode != 6) return -1;
  int linuxMode = mode == 0 ? F_OK : ((mode & 4) != 0 ? R_OK : 0) | ((mode & 2) != 0 ? W_OK : 0);
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved) return -1;
  if ((mode & 2) != 0 && resolved->readOnly) return -1;
  return ::access(resolved->nativePath.c_str(), linuxMode) == 0 ? 0 : -1;
}

bool PathFileExistsA(const std::string& path) { return Stat(path).has_value(); }

bool PathIsDirectoryA(const std::string& path) {
  std::optional<struct stat> st = Stat(path);
  return st && S_ISDIR(st->st_mode);
}

bool CreateDirectoryA(const std::string& path) {
  if (faults::Hit("CreateDirectoryA", path)) return false;
  std::optional<std::string> linuxPath = Writable(path);
  return linuxPath && ::mkdir(linuxPath->c_str(), 0777) == 0;
}

bool RemoveDirectoryA(const std::string& path) {
  std::optional<std::string> linuxPath = Writable(path);
  return linuxPath && ::rmdir(linuxPath->c_str()) == 0;
}

bool DeleteFileA(const std::string& path) {
  std::optional<std::string> linuxPath = Writable(path);
  return linuxPath && ::unlink(linuxPath->c_str()) == 0;
}

bool MoveFileReplace(const std::string& source, const std::string& target) {
  if (faults::Hit("MoveFileReplace", target)) return false;
  std::optional<std::string> from = Writable(source);
  std::optional<std::string> to = Writable(target);
  if (!from || !to) {
    detail::NoteFileFailure(detail::UnreachableReason(to ? source : target));
    return false;
  }
  if (::rename(from->c_str(), to->c_str()) == 0) return true;
  detail::NoteFileFailure(detail::SystemErrorText());
  return false;
}

std::string _getcwd() {
  char cwd[PATH_MAX];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return {};
  return ToWindowsPath(cwd).value_or(std::string());
}

bool _chdir(const std::string& path) {
  std::optional<std::string> linuxPath = ToNativePath(path);
  return linuxPath && ::chdir(linuxPath->c_str()) == 0;
}

std::string GetModuleFileNameA() {
  char exe[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (length <= 0) return {};
  return ToWindowsPath(std::string(exe, static_cast<std::size_t>(length))).value_or(std::string());
}

FileStatus GetFileStatus(const std::string& path) {
  std::optional<struct stat> st = Stat(path);
  if (!st) return FileStatus::Absent;
  return S_ISDIR(st->st_mode) ? FileStatus::Directory : FileStatus::File;
}

}  // namespace platform::win

// The Windows file and folder calls on Windows itself: each Windows-form path goes through
// the drive map (the identity unless a map file names other folders) to a native path and
// from there, in UTF-16, to the wide Win32 call. Code page 932 names therefore work
// whatever the system's ANSI code page is. Drives of the CD-ROM type in a map file refuse
// every change, as on Linux.
#include <direct.h>
#include <io.h>

#include <vector>

#include "platform/Faults.h"
#include "platform/NativePath.h"
#include "platform/WinFs.h"
#include "platform/WinFsResolve.h"
#include "platform/win32/Wide.h"

// After the project's headers: windows.h defines macros named like their constants.
#include <windows.h>

namespace platform::win {

namespace {

std::optional<std::wstring> Native(const std::string& path) {
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved) return std::nullopt;
  return win32::Utf16(resolved->nativePath);
}

// The native path of a path about to be changed; none on a missing or read-only drive.
std::optional<std::wstring> Writable(const std::string& path) {
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved || resolved->readOnly) return std::nullopt;
  return win32::Utf16(resolved->nativePath);
}

std::optional<DWORD> Attributes(const std::string& path) {
  std::optional<std::wstring> native = Native(path);
  if (!native) return std::nullopt;
  const DWORD attributes = ::GetFileAttributesW(native->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

std::string WindowsFormOf(std::wstring_view native) {
  std::optional<std::string> utf8 = win32::Utf8(native);
  if (!utf8) return {};
  return ToWindowsPath(*utf8).value_or(std::string());
}

}  // namespace

int _access(const std::string& path, int mode) {
  // The modes of the C runtime: 0 existence, 2 write, 4 read, 6 read and write.
  if (mode != 0 && mode != 2 && mode != 4 && mode != 6) return -1;
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved) return -1;
  if ((mode & 2) != 0 && resolved->readOnly) return -1;
  std::optional<std::wstring> native = win32::Utf16(resolved->nativePath);
  return native && ::_waccess(native->c_str(), mode) == 0 ? 0 : -1;
}

bool PathFileExistsA(const std::string& path) { return Attributes(path).has_value(); }

bool PathIsDirectoryA(const std::string& path) {
  std::optional<DWORD> attributes = Attributes(path);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDirectoryA(const std::string& path) {
  if (faults::Hit("CreateDirectoryA", path)) return false;
  std::optional<std::wstring> native = Writable(path);
  return native && ::CreateDirectoryW(native->c_str(), nullptr) != 0;
}

bool RemoveDirectoryA(const std::string& path) {
  std::optional<std::wstring> native = Writable(path);
  return native && ::RemoveDirectoryW(native->c_str()) != 0;
}

bool DeleteFileA(const std::string& path) {
  std::optional<std::wstring> native = Writable(path);
  return native && ::DeleteFileW(native->c_str()) != 0;
}

bool MoveFileReplace(const std::string& source, const std::string& target) {
  if (faults::Hit("MoveFileReplace", target)) return false;
  std::optional<std::wstring> from = Writable(source);
  std::optional<std::wstring> to = Writable(target);
  return from && to &&
         ::MoveFileExW(from->c_str(), to->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string _getcwd() {
  const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return {};
  std::vector<wchar_t> buffer(length);
  const DWORD written = ::GetCurrentDirectoryW(length, buffer.data());
  if (written == 0 || written >= length) return {};
  return WindowsFormOf(std::wstring_view(buffer.data(), written));
}

bool _chdir(const std::string& path) {
  std::optional<std::wstring> native = Native(path);
  return native && ::SetCurrentDirectoryW(native->c_str()) != 0;
}

std::string GetModuleFileNameA() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return WindowsFormOf(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

FileStatus GetFileStatus(const std::string& path) {
  std::optional<DWORD> attributes = Attributes(path);
  if (!attributes) return FileStatus::Absent;
  return (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileStatus::Directory : FileStatus::File;
}

}  // namespace platform::win

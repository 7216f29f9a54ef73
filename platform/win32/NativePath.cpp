// Windows paths in UTF-8: drive-letter and UNC roots, GetFullPathNameW for the absolute form,
// the file's volume serial, index and write time for its stamp.
#include <windows.h>

#include <vector>

#include "platform/NativePath.h"
#include "platform/win32/Wide.h"

namespace platform::native {

namespace {

bool IsDriveRoot(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string Clean(std::string folder) {
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  while (folder.size() > 1 && folder.back() == '\\' && !(folder.size() == 3 && IsDriveRoot(folder))) {
    folder.pop_back();
  }
  return folder;
}

}  // namespace

// "C:\x", "\\srv\share", and "\x" on the current drive (the form "/tmp/x" takes under Wine).
bool IsAbsoluteFolder(std::string_view folder) {
  if (IsDriveRoot(folder)) return folder.size() >= 3 && IsSeparator(folder[2]);
  return !folder.empty() && IsSeparator(folder[0]);
}

std::string NormalizeFolder(std::string folder) {
  std::optional<std::string> absolute = Absolute(folder);
  return absolute ? *absolute : Clean(std::move(folder));
}

std::optional<std::string> Absolute(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::optional<std::wstring> wide = win32::Utf16(path);
  if (!wide) return std::nullopt;
  DWORD length = ::GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
  if (length == 0) return std::nullopt;
  std::vector<wchar_t> full(length + 1);
  length = ::GetFullPathNameW(wide->c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return std::nullopt;
  std::optional<std::string> utf8 = win32::Utf8(std::wstring_view(full.data(), length));
  if (!utf8) return std::nullopt;
  return Clean(std::move(*utf8));
}

std::optional<FileStamp> StampOf(const std::string& path) {
  std::optional<std::wstring> wide = win32::Utf16(path);
  if (!wide) return std::nullopt;
  HANDLE file = ::CreateFileW(wide->c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = ::GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  if (!ok) return std::nullopt;
  auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
  // FILETIME counts 100 ns steps.
  const std::uint64_t written = join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
  return FileStamp{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                   join(info.nFileSizeHigh, info.nFileSizeLow), static_cast<std::int64_t>(written * 100)};
}

unsigned RealDriveType(const std::string& root) {
  std::optional<std::wstring> wide = win32::Utf16(root);
  return wide ? ::GetDriveTypeW(wide->c_str()) : DRIVE_NO_ROOT_DIR;
}

std::optional<std::string> ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      std::optional<std::string> path = win32::Utf8(std::wstring_view(buffer.data(), length));
      if (!path) return std::nullopt;
      return Clean(path->substr(0, path->find_last_of('\\') + 1));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform::native

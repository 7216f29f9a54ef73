// The file calls on Windows: handles from CreateFileW on the UTF-16 form of the native path,
// kept as C runtime descriptors. A file for writing takes an exclusive LockFileEx before
// SetEndOfFile truncates it; a new file is created with CREATE_NEW on the reparse point
// itself; a file for reading is taken only when GetFileType says it is on a disk (a pipe or
// a character device such as CON is refused). Windows has no early writeback:
// FlushFileBuffers at the close makes the file durable.
#include <fcntl.h>
#include <io.h>

#include <algorithm>

#include "platform/SystemFiles.h"
#include "platform/WinFs.h"
#include "platform/win32/Wide.h"

// After the project's headers: windows.h defines macros named like their constants.
#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

namespace platform::detail {

namespace {

constexpr DWORD kLargestCall = 1u << 30;  // bytes of one ReadFile or WriteFile

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

int Adopt(HANDLE handle, int flags) {
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
  if (fd < 0) ::CloseHandle(handle);
  return fd;
}

std::string Reason(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::optional<std::string> utf8 = length > 0 ? win32::Utf8(std::wstring_view(text, length)) : std::nullopt;
  ::LocalFree(text);
  std::string reason = utf8.value_or("error " + std::to_string(code));
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
    reason.pop_back();
  return reason;
}

}  // namespace

std::string LastSystemError() { return Reason(::GetLastError()); }

int OpenRegularFile(const std::string& nativePath, std::string& reason) {
  std::optional<std::wstring> wide = win32::Utf16(nativePath);
  if (!wide) {
    reason = "the name is not UTF-8";
    return -1;
  }
  HANDLE handle =
      ::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    reason = LastSystemError();
    return -1;
  }
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    reason = kNotRegularFile;
    return -1;
  }
  const int fd = Adopt(handle, _O_RDONLY);
  if (fd < 0) reason = "no descriptor is left";
  return fd;
}

int OpenLockedForWriting(const std::string& nativePath, std::string& reason) {
  std::optional<std::wstring> wide = win32::Utf16(nativePath);
  if (!wide) {
    reason = "the name is not UTF-8";
    return -1;
  }
  HANDLE handle = ::CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    reason = LastSystemError();
    return -1;
  }
  OVERLAPPED whole{};
  if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                    &whole) ||
      !::SetEndOfFile(handle)) {
    reason =
        ::GetLastError() == ERROR_LOCK_VIOLATION ? "another writer has the file open" : LastSystemError();
    ::CloseHandle(handle);
    return -1;
  }
  const int fd = Adopt(handle, _O_WRONLY);
  if (fd < 0) reason = "no descriptor is left";
  return fd;
}

int CreateNewFile(const std::string& nativePath, bool& exists) {
  exists = false;
  std::optional<std::wstring> wide = win32::Utf16(nativePath);
  if (!wide) return -1;
  // CREATE_NEW never opens what is already there, a link or junction included; opening the
  // reparse point itself keeps a link made in between from being followed.
  HANDLE handle = ::CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    return -1;
  }
  return Adopt(handle, _O_WRONLY);
}

long ReadSome(int fd, char* data, std::size_t size) {
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, kLargestCall));
  DWORD count = 0;
  if (!::ReadFile(HandleOf(fd), data, chunk, &count, nullptr)) return -1;
  return static_cast<long>(count);
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  HANDLE handle = HandleOf(fd);
  if (handle == INVALID_HANDLE_VALUE) return false;
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, kLargestCall));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

void StartWriteback(int, std::int64_t, std::size_t) {}

bool SyncFile(int fd) { return ::FlushFileBuffers(HandleOf(fd)) != 0; }

bool CloseFile(int fd) { return ::_close(fd) == 0; }

bool RandomBytes(unsigned char* bytes, std::size_t count) {
  return BCRYPT_SUCCESS(
      ::BCryptGenRandom(nullptr, bytes, static_cast<ULONG>(count), BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

unsigned long long ProcessId() { return ::GetCurrentProcessId(); }

std::string TemporaryFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return {};
  std::optional<std::string> utf8 = win32::Utf8(std::wstring_view(buffer, length));
  if (!utf8) return {};
  return win::ToWindowsPath(*utf8).value_or(std::string());
}

}  // namespace platform::detail

// Whole-file reads by the system's own path (UTF-8) on Windows: ReadFile on a handle from
// CreateFileW, so that every error is seen and names outside the ANSI code page open too.
#include "platform/Faults.h"
#include "platform/LinuxFile.h"
#include "platform/win32/Wide.h"

// After the project's headers: windows.h defines macros named like their constants.
#include <windows.h>

namespace platform {

namespace {

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

std::optional<std::string> ReadLinuxFile(const std::string& path, std::string& error) {
  std::optional<std::wstring> wide = win32::Utf16(path);
  if (!wide) {
    error = "the name is not UTF-8";
    return std::nullopt;
  }
  HANDLE handle =
      ::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = Reason(::GetLastError());
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (faults::Hit("FileRead", path)) {
      error = Reason(ERROR_READ_FAULT);
      ::CloseHandle(handle);
      return std::nullopt;
    }
    if (!::ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
      error = Reason(::GetLastError());
      ::CloseHandle(handle);
      return std::nullopt;
    }
    if (got == 0) break;
    content.append(buffer, got);
  }
  ::CloseHandle(handle);
  return content;
}

}  // namespace platform

// File on Windows: CreateFileW through the drive map, an exclusive LockFileEx before the
// truncation (a second writer of the same file fails instead of interleaving), and
// FlushFileBuffers before the close, so that a document renamed over an earlier one is on
// disk first. Temporary files are created with CREATE_NEW under random names. The handle is
// kept as a C runtime descriptor, the form the class holds.
#include <fcntl.h>
#include <io.h>

#include <algorithm>

#include "platform/BlockWriter.h"
#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "platform/WinFsResolve.h"
#include "platform/win32/Wide.h"

// After the project's headers: windows.h defines macros named like their constants.
#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

namespace platform::win {

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

int Adopt(HANDLE handle, int flags) {
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
  if (fd < 0) ::CloseHandle(handle);
  return fd;
}

bool WriteAll(HANDLE handle, const char* bytes, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

std::optional<std::wstring> NativeOf(const std::string& path, bool forWriting) {
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved || (forWriting && resolved->readOnly)) {
    if (forWriting) detail::NoteFileFailure(detail::UnreachableReason(path));
    return std::nullopt;
  }
  return win32::Utf16(resolved->linuxPath);
}

// Six characters of a temporary name, from the system's random source when it answers.
std::string RandomName() {
  unsigned char bytes[6];
  const bool random =
      BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG));
  return detail::TemporaryName(random ? bytes : nullptr, ::GetCurrentProcessId());
}

}  // namespace

namespace detail {

std::string SystemErrorText() {
  const DWORD error = ::GetLastError();
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::optional<std::string> utf8 = length > 0 ? win32::Utf8(std::wstring_view(text, length)) : std::nullopt;
  ::LocalFree(text);
  std::string shown = utf8.value_or("system error " + std::to_string(error));
  while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r' || shown.back() == '.'))
    shown.pop_back();
  return shown;
}

}  // namespace detail

File::~File() { Close(); }

bool File::Create(const std::string& path) {
  Close();
  if (faults::Hit("FileCreate", path)) return false;
  std::optional<std::wstring> native = NativeOf(path, true);
  if (!native) return false;
  HANDLE handle = ::CreateFileW(native->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    detail::NoteFileFailure(detail::SystemErrorText());
    return false;
  }
  OVERLAPPED whole{};
  if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                    &whole) ||
      !::SetEndOfFile(handle)) {
    ::CloseHandle(handle);
    return false;
  }
  fd_ = Adopt(handle, _O_WRONLY);
  if (fd_ < 0) return false;
  writing_ = true;
  path_ = path;
  return true;
}

bool File::CreateTemporary(const std::string& targetPath) {
  Close();
  temporaryPath_.clear();
  if (faults::Hit("FileCreate", targetPath)) return false;
  const std::size_t separator = cp932::FindLastChar(targetPath, '\\');
  const std::string folder =
      separator == std::string::npos ? std::string() : targetPath.substr(0, separator + 1);
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string candidate = folder + "~vm" + RandomName() + ".tmp";
    std::optional<std::wstring> native = NativeOf(candidate, true);
    if (!native) return false;
    // CREATE_NEW never opens what is already there, a link or junction included; opening
    // the reparse point itself keeps a link made in between from being followed.
    HANDLE handle =
        ::CreateFileW(native->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      detail::NoteFileFailure(detail::SystemErrorText());
      return false;
    }
    fd_ = Adopt(handle, _O_WRONLY);
    if (fd_ < 0) return false;
    writing_ = true;
    path_ = targetPath;
    temporaryPath_ = candidate;
    return true;
  }
  return false;
}

bool File::OpenRead(const std::string& path) {
  Close();
  std::optional<std::wstring> native = NativeOf(path, false);
  if (!native) return false;
  HANDLE handle =
      ::CreateFileW(native->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  fd_ = Adopt(handle, _O_RDONLY);
  if (fd_ < 0) return false;
  path_ = path;
  return true;
}

bool File::Flush() {
  bool flushed = writer_ == nullptr || writer_->Drain();
  writer_.reset();
  if (!buffer_.empty()) {
    flushed = !faults::Hit("FileFlush", path_) && WriteAll(HandleOf(fd_), buffer_.data(), buffer_.size()) &&
              flushed;
  }
  buffer_.clear();
  return flushed;
}

long File::Read(void* data, std::size_t size) {
  if (fd_ < 0 || faults::Hit("FileRead", path_)) return -1;
  char* bytes = static_cast<char*>(data);
  std::size_t total = 0;
  while (total < size) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - total, 1u << 30));
    DWORD count = 0;
    if (!::ReadFile(HandleOf(fd_), bytes + total, chunk, &count, nullptr)) return -1;
    if (count == 0) break;
    total += count;
  }
  return static_cast<long>(total);
}

bool File::Close() {
  if (fd_ < 0) return true;
  bool closed = true;
  if (writing_) closed = Flush() && ::FlushFileBuffers(HandleOf(fd_)) != 0;
  writer_.reset();
  closed = ::_close(fd_) == 0 && closed;
  fd_ = -1;
  writing_ = false;
  buffer_.clear();
  path_.clear();
  return closed;
}

}  // namespace platform::win

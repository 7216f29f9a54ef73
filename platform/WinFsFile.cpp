// File, the same on both systems over the system's calls (SystemFiles.h): paths through the
// drive map, writes gathered into 1 MiB blocks, each full block handed to the file's writer
// thread so that composing the document overlaps the system's writing, the rest written and
// made durable at the close, and temporary files under fresh names of their own.
#include <algorithm>
#include <chrono>
#include <memory>

#include "platform/BlockWriter.h"
#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/SystemFiles.h"
#include "platform/WinFs.h"
#include "platform/WinFsResolve.h"

namespace platform::win {

namespace {

constexpr std::size_t kBlockSize = 1024 * 1024;
constexpr int kTemporaryAttempts = 100;

// Six characters of a temporary name from the system's random bytes; when the system gives
// none, from the clock and the process id (the exclusive create still keeps names apart).
// At the "TemporaryName" fault point the bytes are all zero, so that every name drawn is
// the same one and a test can put something at it first.
std::string TemporaryName() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[6] = {};
  const bool repeated = faults::Hit("TemporaryName");
  if (!repeated && !platform::detail::RandomBytes(bytes, sizeof bytes)) {
    auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= platform::detail::ProcessId() << 20;
    for (unsigned char& byte : bytes) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      byte = static_cast<unsigned char>(seed >> 56);
    }
  }
  std::string name;
  for (unsigned char byte : bytes) name += kChars[byte % (sizeof kChars - 1)];
  return name;
}

// The native path of a path about to be written; none on a missing or read-only drive, with
// what the drive map lacks for it noted.
std::optional<std::string> Writable(const std::string& path) {
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(path);
  if (!resolved || resolved->readOnly) {
    detail::NoteFileFailure(detail::UnreachableReason(path));
    return std::nullopt;
  }
  return std::move(resolved->nativePath);
}

// The fault point, noted as the reason when it fires.
bool FaultFires(const char* point, const std::string& path) {
  if (!faults::Hit(point, path)) return false;
  detail::NoteFileFailure(std::string("the fault point ") + point + " fired");
  return true;
}

}  // namespace

File::~File() { Close(); }

bool File::Create(const std::string& path) {
  Close();
  if (FaultFires("FileCreate", path)) return false;
  std::optional<std::string> native = Writable(path);
  if (!native) return false;
  std::string reason;
  fd_ = platform::detail::OpenLockedForWriting(*native, reason);
  if (fd_ < 0) {
    detail::NoteFileFailure(std::move(reason));
    return false;
  }
  writing_ = true;
  path_ = path;
  return true;
}

bool File::CreateTemporary(const std::string& targetPath) {
  Close();
  temporaryPath_.clear();
  if (FaultFires("FileCreate", targetPath)) return false;
  const std::size_t separator = cp932::FindLastChar(targetPath, '\\');
  const std::string folder =
      separator == std::string::npos ? std::string() : targetPath.substr(0, separator + 1);
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    const std::string candidate = folder + "~vm" + TemporaryName() + ".tmp";
    std::optional<std::string> native = Writable(candidate);
    if (!native) return false;
    bool exists = false;
    fd_ = platform::detail::CreateNewFile(*native, exists);
    if (fd_ < 0) {
      if (exists) continue;
      detail::NoteFileFailure(detail::SystemErrorText());
      return false;
    }
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
  std::string reason;
  fd_ = platform::detail::OpenRegularFile(resolved->nativePath, reason);
  if (fd_ < 0) return false;
  path_ = path;
  return true;
}

bool File::Write(const void* data, std::size_t size) {
  if (fd_ < 0 || !writing_ || FaultFires("FileWrite", path_)) return false;
  buffer_.append(static_cast<const char*>(data), size);
  if (buffer_.size() < kBlockSize || HandOff()) return true;
  detail::NoteFileFailure("a block of it could not be written");
  return false;
}

bool File::HandOff() {
  if (faults::Hit("FileFlush", path_)) {
    buffer_.clear();
    return false;
  }
  if (!writer_) writer_ = std::make_unique<BlockWriter>(fd_);
  return writer_->Submit(buffer_);
}

bool File::Flush() {
  // The blocks handed over come first: the rest goes after them, and only into a file
  // whose every block is known to be written.
  bool flushed = writer_ == nullptr || writer_->Drain();
  writer_.reset();
  if (!buffer_.empty()) {
    flushed = !faults::Hit("FileFlush", path_) &&
              platform::detail::WriteAll(fd_, buffer_.data(), buffer_.size()) && flushed;
  }
  buffer_.clear();
  return flushed;
}

long File::Read(void* data, std::size_t size) {
  if (fd_ < 0 || faults::Hit("FileRead", path_)) return -1;
  char* bytes = static_cast<char*>(data);
  std::size_t total = 0;
  while (total < size) {
    const long count = platform::detail::ReadSome(fd_, bytes + total, size - total);
    if (count < 0) return -1;
    if (count == 0) break;
    total += static_cast<std::size_t>(count);
  }
  return static_cast<long>(total);
}

bool File::Close() {
  if (fd_ < 0) return true;
  bool closed = true;
  // A document is renamed over an earlier one once it is closed: it must be on disk first.
  if (writing_) {
    closed = Flush() && platform::detail::SyncFile(fd_);
    if (!closed)
      detail::NoteFileFailure("not all of it reached the disk (" + detail::SystemErrorText() + ")");
  }
  writer_.reset();
  closed = platform::detail::CloseFile(fd_) && closed;
  fd_ = -1;
  writing_ = false;
  buffer_.clear();
  path_.clear();
  return closed;
}

}  // namespace platform::win

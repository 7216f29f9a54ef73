// File's shared part on both systems: writes gathered into 1 MiB blocks, each full block
// handed to the file's writer thread, so that composing the document overlaps the system's
// writing; and the names of temporary files.
#include <algorithm>
#include <chrono>
#include <memory>

#include "platform/BlockWriter.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "platform/WinFsResolve.h"

namespace platform::win {

namespace {

constexpr std::size_t kBlockSize = 1024 * 1024;

}  // namespace

bool File::Write(const void* data, std::size_t size) {
  if (fd_ < 0 || !writing_) return false;
  if (faults::Hit("FileWrite", path_)) {
    detail::NoteFileFailure("the fault point FileWrite fired");
    return false;
  }
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

namespace detail {

std::string TemporaryName(const unsigned char* random, unsigned long long processId) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[6];
  if (random) {
    std::copy(random, random + sizeof bytes, bytes);
  } else {
    auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= processId << 20;
    for (unsigned char& byte : bytes) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      byte = static_cast<unsigned char>(seed >> 56);
    }
  }
  std::string name;
  for (unsigned char byte : bytes) name += kChars[byte % (sizeof kChars - 1)];
  return name;
}

}  // namespace detail

}  // namespace platform::win

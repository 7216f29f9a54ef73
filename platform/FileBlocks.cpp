// File's writes on both systems: gathered into 1 MiB blocks, each full block handed to the
// file's writer thread, so that composing the document overlaps the system's writing.
#include <memory>

#include "platform/BlockWriter.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"

namespace platform::win {

namespace {

constexpr std::size_t kBlockSize = 1024 * 1024;

}  // namespace

bool File::Write(const void* data, std::size_t size) {
  if (fd_ < 0 || !writing_ || faults::Hit("FileWrite", path_)) return false;
  buffer_.append(static_cast<const char*>(data), size);
  return buffer_.size() < kBlockSize || HandOff();
}

bool File::HandOff() {
  if (faults::Hit("FileFlush", path_)) {
    buffer_.clear();
    return false;
  }
  if (!writer_) writer_ = std::make_unique<BlockWriter>(fd_);
  return writer_->Submit(buffer_);
}

}  // namespace platform::win

// Reading of SUPPORT.INF and the marker scan.
#include "xmlout/SupportInfoFile.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "platform/WinTypes.h"
#include "platform/ui/Window.h"

namespace {

// Opened by its bare name: the run driver has made the program's folder the working folder.
constexpr const char* kSupportFileName = "SUPPORT.INF";

}  // namespace

SupportInfoFile::SupportInfoFile(std::string caption, platform::HWND owner)
    : caption_(std::move(caption)), owner_(owner) {}

bool SupportInfoFile::Load() {
  if (loaded_) {
    return !failed_;
  }
  loaded_ = true;
  // The fault point stands for an allocation failure, which must become the box, not a crash.
  bool allocated = !platform::faults::Hit("SupportInfoAlloc");
  if (allocated) {
    try {
      block_.assign(kBlockSize, static_cast<char>(0xFF));
    } catch (const std::bad_alloc&) {
      allocated = false;
    }
  }
  if (!allocated) {
    block_.clear();
    platform::MessageBoxA(owner_, SJ("ﾒﾓﾘが不足しています。"), caption_, platform::MB_OK);
    failed_ = true;
    return false;
  }

  platform::win::File file;
  if (!file.OpenRead(kSupportFileName)) {
    // No file means no values; a file that is there and cannot be opened (a FIFO, a
    // device, a folder, no permission) would give a wrong program version in the document.
    failed_ = platform::win::GetFileStatus(kSupportFileName) != platform::win::FileStatus::Absent;
    return !failed_;
  }
  while (dataSize_ < kBlockSize) {
    const long got = file.Read(block_.data() + dataSize_, kBlockSize - dataSize_);
    if (got < 0) {
      // Half a file would give a wrong program version in the document.
      failed_ = true;
      return false;
    }
    if (got == 0) {
      break;
    }
    dataSize_ += static_cast<std::size_t>(got);
  }
  file.Close();

  // Line ends and the end-of-file mark become NULs, so that a value ends at its line end.
  for (std::size_t i = 0; i < dataSize_; ++i) {
    if (block_[i] == '\r' && i + 1 < dataSize_ && block_[i + 1] == '\n') {
      block_[i] = '\0';
      block_[i + 1] = '\0';
      ++i;
    } else if (block_[i] == '\x1A') {
      block_[i] = '\0';
    }
  }
  return true;
}

std::string SupportInfoFile::ValueOf(std::string_view marker) {
  if (!Load()) {
    return {};
  }
  const auto dataEnd = block_.begin() + static_cast<std::ptrdiff_t>(dataSize_);
  const auto found = std::search(block_.begin(), dataEnd, marker.begin(), marker.end());
  if (found == dataEnd) {
    return {};
  }
  const auto valueBegin = found + static_cast<std::ptrdiff_t>(marker.size());
  const auto valueEnd = std::find(valueBegin, dataEnd, '\0');
  return std::string(valueBegin, valueEnd);
}

std::string SupportInfoFile::ProductName() { return ValueOf(SJ("[=製品名=]")); }

std::string SupportInfoFile::ProductVersion() { return ValueOf(SJ("[=製品ﾊﾞｰｼﾞｮﾝ=]")); }

// Blocks from the system (posix/, win32/). A helper thread keeps a couple of blocks ready
// with their pages already in place: the kernel's zeroing of fresh memory was a sixth of a
// large ledger export, and on a second core it costs the run nothing.
#include "platform/LargeBlocks.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/SystemBlocks.h"

namespace platform {
namespace {

constexpr std::size_t kReady = 2;         // blocks kept ready
constexpr std::size_t kPageBytes = 4096;  // touching one byte per page faults it in

class ReadyBlocks {
 public:
  void* Take() {
    std::unique_lock lock(mutex_);
    if (!started_) {
      started_ = true;
      std::thread([this] { Prepare(); }).detach();
    }
    void* block = nullptr;
    if (!ready_.empty()) {
      block = ready_.back();
      ready_.pop_back();
    }
    lock.unlock();
    wanted_.notify_one();
    return block != nullptr ? block : detail::MapLargeBlock();
  }

 private:
  // Runs for the rest of the process, keeping kReady blocks with their pages in place.
  void Prepare() {
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        wanted_.wait(lock, [this] { return ready_.size() < kReady; });
      }
      void* block = detail::MapLargeBlock();
      if (block == nullptr) return;
      auto* bytes = static_cast<volatile char*>(block);
      for (std::size_t at = 0; at < kLargeBlockBytes; at += kPageBytes) bytes[at] = 0;
      std::lock_guard lock(mutex_);
      ready_.push_back(block);
    }
  }

  std::mutex mutex_;
  std::condition_variable wanted_;
  std::vector<void*> ready_;
  bool started_ = false;
};

// Never destroyed: the helper thread may still be preparing a block as the process ends.
ReadyBlocks& Blocks() {
  static auto* blocks = new ReadyBlocks;
  return *blocks;
}

}  // namespace

void* AllocateLargeBlock() { return Blocks().Take(); }

void FreeLargeBlock(void* block) {
  if (block != nullptr) detail::UnmapLargeBlock(block);
}

}  // namespace platform

// Anonymous mappings aligned to the huge page size and marked for transparent huge pages.
// A helper thread keeps a couple of blocks ready with their pages already in place: the
// kernel's zeroing of fresh memory was a sixth of a large ledger export, and on a second
// core it costs the run nothing.
#include "platform/LargeBlocks.h"

#include <sys/mman.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {
namespace {

constexpr std::size_t kReady = 2;         // blocks kept ready
constexpr std::size_t kPageBytes = 4096;  // touching one byte per page faults it in

void* MapBlock() {
  // Twice the size is mapped, so that an aligned block lies inside; the rest is returned.
  const std::size_t mapped = 2 * kLargeBlockBytes;
  void* area = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (area == MAP_FAILED) return nullptr;
  auto* start = static_cast<char*>(area);
  const auto address = reinterpret_cast<std::uintptr_t>(start);
  const std::size_t head = (kLargeBlockBytes - address % kLargeBlockBytes) % kLargeBlockBytes;
  char* block = start + head;
  if (head != 0) ::munmap(start, head);
  ::munmap(block + kLargeBlockBytes, mapped - head - kLargeBlockBytes);
  // Only advice: without huge pages the block is ordinary memory.
  ::madvise(block, kLargeBlockBytes, MADV_HUGEPAGE);
  return block;
}

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
    return block != nullptr ? block : MapBlock();
  }

 private:
  // Runs for the rest of the process, keeping kReady blocks with their pages in place.
  void Prepare() {
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        wanted_.wait(lock, [this] { return ready_.size() < kReady; });
      }
      void* block = MapBlock();
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
  if (block != nullptr) ::munmap(block, kLargeBlockBytes);
}

}  // namespace platform

// Large blocks as anonymous mappings aligned to the huge page size and marked for
// transparent huge pages.
#include <sys/mman.h>

#include <cstdint>

#include "platform/LargeBlocks.h"
#include "platform/SystemBlocks.h"

namespace platform::detail {

void* MapLargeBlock() {
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

void UnmapLargeBlock(void* block) { ::munmap(block, kLargeBlockBytes); }

}  // namespace platform::detail

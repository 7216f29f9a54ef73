// Large blocks from VirtualAlloc, aligned to their size inside a reservation twice as large
// (huge pages need a privilege a run does not have, so the pages are ordinary ones).
#include <cstdint>

#include "platform/LargeBlocks.h"
#include "platform/SystemBlocks.h"

// After the project's headers: windows.h defines macros named like their constants.
#include <windows.h>

namespace platform::detail {

void* MapLargeBlock() {
  void* area = ::VirtualAlloc(nullptr, 2 * kLargeBlockBytes, MEM_RESERVE, PAGE_NOACCESS);
  if (area == nullptr) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(area);
  const std::size_t head = (kLargeBlockBytes - address % kLargeBlockBytes) % kLargeBlockBytes;
  void* block = ::VirtualAlloc(static_cast<char*>(area) + head, kLargeBlockBytes, MEM_COMMIT, PAGE_READWRITE);
  if (block == nullptr) ::VirtualFree(area, 0, MEM_RELEASE);
  return block;
}

void UnmapLargeBlock(void* block) {
  // The whole reservation goes, found from the block inside it.
  MEMORY_BASIC_INFORMATION info{};
  if (::VirtualQuery(block, &info, sizeof info) != 0) ::VirtualFree(info.AllocationBase, 0, MEM_RELEASE);
}

}  // namespace platform::detail

// Large blocks from VirtualAlloc, aligned to their size inside a reservation twice as large
// (huge pages need a privilege a run does not have, so the pages are ordinary ones); blocks
// written with WriteFile. Windows has no early writeback: FlushFileBuffers at the close
// makes the file durable.
#include <io.h>

#include <algorithm>
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

bool WriteBlock(int fd, const char* bytes, std::size_t size, std::int64_t /*offset*/) {
  HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE) return false;
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

}  // namespace platform::detail

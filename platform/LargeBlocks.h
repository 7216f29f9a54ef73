// Large blocks of memory for the run's long lists, taken from the system in whole huge
// pages where the system offers them: a million ledger lines fill a few hundred megabytes,
// and touching that memory in 4 KiB pages cost more than composing the lines.
#pragma once

#include <cstddef>

namespace platform {

inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

// A block of kLargeBlockBytes, zero-filled, aligned to its size; nullptr when none can be had.
void* AllocateLargeBlock();
// Returns a block of AllocateLargeBlock.
void FreeLargeBlock(void* block);

}  // namespace platform

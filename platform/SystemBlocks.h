// The system's side of the large blocks and of the block writer: mapping and unmapping a
// block, writing one into a file and starting its writeback. Linux serves it in posix/,
// Windows in win32/; the threads around them are shared.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::detail {

// A fresh block of kLargeBlockBytes, zero-filled and aligned to its size; nullptr when the
// system has none.
void* MapLargeBlock();
void UnmapLargeBlock(void* block);

// Writes all bytes at the file's current position; offset is where they start, for the
// early writeback only. False when any byte could not be written.
bool WriteBlock(int fd, const char* bytes, std::size_t size, std::int64_t offset);

}  // namespace platform::detail

// The system's side of the large blocks: mapping and unmapping a block. Linux serves it in
// posix/, Windows in win32/; the thread that keeps blocks ready is shared.
#pragma once

namespace platform::detail {

// A fresh block of kLargeBlockBytes, zero-filled and aligned to its size; nullptr when the
// system has none.
void* MapLargeBlock();
void UnmapLargeBlock(void* block);

}  // namespace platform::detail

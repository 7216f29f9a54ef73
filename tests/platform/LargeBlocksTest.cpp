// The large blocks the long lists live in, as each system hands them out: whole, zeroed,
// aligned to their size, apart from each other, and given back whole (freed blocks come
// back zeroed, not with the last user's bytes).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/LargeBlocks.h"

namespace {

using platform::kLargeBlockBytes;

TEST(LargeBlocks, BlocksAreZeroedAlignedAndApartAcrossRounds) {
  constexpr int kBlocks = 6;  // more than the helper keeps ready
  for (int round = 0; round < 3; ++round) {
    std::vector<char*> blocks;
    for (int i = 0; i < kBlocks; ++i) {
      auto* block = static_cast<char*>(platform::AllocateLargeBlock());
      ASSERT_NE(nullptr, block);
      EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(block) % kLargeBlockBytes) << "round " << round;
      EXPECT_TRUE(std::all_of(block, block + kLargeBlockBytes, [](char c) { return c == 0; }))
          << "round " << round << ", block " << i;
      blocks.push_back(block);
    }
    // Every byte of every block is writable, and no block shares one with another.
    for (int i = 0; i < kBlocks; ++i)
      std::fill(blocks[i], blocks[i] + kLargeBlockBytes, static_cast<char>(i + 1));
    for (int i = 0; i < kBlocks; ++i) {
      EXPECT_TRUE(std::all_of(blocks[i], blocks[i] + kLargeBlockBytes,
                              [i](char c) { return c == static_cast<char>(i + 1); }))
          << "block " << i << " was overwritten";
    }
    for (char* block : blocks) platform::FreeLargeBlock(block);
  }
  platform::FreeLargeBlock(nullptr);
}

}  // namespace

// The block list behind the ledger lines: records stay where they were put and in order
// across many blocks, and a list made with a count holds that many zero records.
#include <gtest/gtest.h>

#include <cstdint>

#include "runstate/StatementModel.h"

namespace {

TEST(BlockList, KeepsRecordsInOrderAndInPlaceAcrossBlocks) {
  LedgerLineList lines;
  EXPECT_TRUE(lines.empty());
  constexpr int kCount = 30000;  // several blocks of about ten thousand lines
  const LedgerLine* first = nullptr;
  for (int i = 0; i < kCount; ++i) {
    LedgerLine line;
    line.accountCode = i;
    line.balance = int64_t{i} * 7;
    ASSERT_TRUE(AppendRecord(lines, line));
    if (i == 0) first = &lines[0];
  }
  ASSERT_EQ(static_cast<std::size_t>(kCount), lines.size());
  EXPECT_EQ(first, &lines[0]) << "a record moved";
  int expected = 0;
  for (const LedgerLine& line : lines) {
    ASSERT_EQ(expected, line.accountCode);
    ASSERT_EQ(int64_t{expected} * 7, line.balance);
    ++expected;
  }
  EXPECT_EQ(kCount, expected);
  lines[kCount - 1].lineNo = 5;
  EXPECT_EQ(5, lines[kCount - 1].lineNo);
  lines.clear();
  EXPECT_TRUE(lines.empty());
}

TEST(BlockList, ACountMakesZeroRecords) {
  const LedgerLineList lines(12000);
  ASSERT_EQ(12000u, lines.size());
  for (std::size_t i : {std::size_t{0}, std::size_t{9708}, std::size_t{9709}, std::size_t{11999}}) {
    EXPECT_EQ(0, lines[i].accountCode);
    EXPECT_TRUE(lines[i].description.View().empty());
    EXPECT_EQ(0, lines[i].balance);
  }
}

}  // namespace

// FixedAmount: conversions at the edges of sign and fraction, the range of the checked
// sum, and the unchecked operations.
#include "aggregate/FixedAmount.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(FixedAmount, RawConversionKeepsSignAndFraction) {
  const FixedAmount minusOne = FixedAmount::FromRaw(-1);
  EXPECT_EQ(0u, minusOne.Whole());
  EXPECT_EQ(1u, minusOne.Fraction());
  EXPECT_EQ(-1, minusOne.Sign());
  EXPECT_EQ(-1, minusOne.Raw());

  const FixedAmount mixed = FixedAmount::FromRaw(-1234567);  // -123.4567 yen
  EXPECT_EQ(123u, mixed.Whole());
  EXPECT_EQ(4567u, mixed.Fraction());
  EXPECT_EQ(-1234567, mixed.Raw());

  for (int64_t raw : {int64_t{0}, int64_t{9999}, int64_t{10000}, int64_t{-10000},
                      std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min()}) {
    EXPECT_EQ(raw, FixedAmount::FromRaw(raw).Raw()) << raw;
  }
}

TEST(FixedAmount, FromIntIsWholeYen) {
  EXPECT_EQ(-50000, FixedAmount::FromInt(-5).Raw());
  EXPECT_EQ(int64_t{std::numeric_limits<int32_t>::min()} * 10000,
            FixedAmount::FromInt(std::numeric_limits<int32_t>::min()).Raw());
  EXPECT_EQ(1, FixedAmount::FromInt(0).Sign());
}

TEST(FixedAmount, ZeroSumIsPositiveZero) {
  FixedAmount sum;
  ASSERT_TRUE(FixedAmount::CheckedAdd(FixedAmount::FromRaw(-25000), FixedAmount::FromRaw(25000), sum));
  EXPECT_EQ(1, sum.Sign());
  EXPECT_TRUE(sum == FixedAmount::FromInt(0));

  FixedAmount accumulated = FixedAmount::FromRaw(-7);
  accumulated += FixedAmount::FromRaw(7);
  EXPECT_EQ(1, accumulated.Sign());
  EXPECT_EQ(1, (FixedAmount::FromRaw(-3) - FixedAmount::FromRaw(-3)).Sign());
}

TEST(FixedAmount, CheckedSumRefusesTenToTheFourteenYen) {
  const int64_t limit = 1000000000000000000LL;
  FixedAmount out = FixedAmount::FromRaw(42);
  EXPECT_TRUE(FixedAmount::CheckedAdd(FixedAmount::FromRaw(limit - 2), FixedAmount::FromRaw(1), out));
  EXPECT_EQ(limit - 1, out.Raw());

  out = FixedAmount::FromRaw(42);
  EXPECT_FALSE(FixedAmount::CheckedAdd(FixedAmount::FromRaw(limit - 1), FixedAmount::FromRaw(1), out));
  EXPECT_EQ(42, out.Raw()) << "a refused sum leaves the target untouched";
  EXPECT_FALSE(FixedAmount::CheckedAdd(FixedAmount::FromRaw(-limit + 1), FixedAmount::FromRaw(-1), out));
  // Beyond int64 itself: must be refused, not wrapped into a small value.
  EXPECT_FALSE(FixedAmount::CheckedAdd(FixedAmount::FromRaw(std::numeric_limits<int64_t>::max()),
                                       FixedAmount::FromRaw(std::numeric_limits<int64_t>::max()), out));
  // Large operands of opposite sign are fine when the sum is small.
  EXPECT_TRUE(FixedAmount::CheckedAdd(FixedAmount::FromRaw(std::numeric_limits<int64_t>::max()),
                                      FixedAmount::FromRaw(-std::numeric_limits<int64_t>::max() + 5), out));
  EXPECT_EQ(5, out.Raw());
}

TEST(FixedAmount, UncheckedOperations) {
  FixedAmount a = FixedAmount::FromRaw(15000);
  a += FixedAmount::FromRaw(-20001);
  EXPECT_EQ(-5001, a.Raw());
  EXPECT_EQ(30001, (FixedAmount::FromRaw(10000) - FixedAmount::FromRaw(-20001)).Raw());
  EXPECT_EQ(-9999, (int64_t{1} + FixedAmount::FromRaw(-10000)).Raw());
}

TEST(FixedAmount, ComparisonsAreOnTheRawValue) {
  EXPECT_TRUE(FixedAmount::FromRaw(10000) == FixedAmount::FromInt(1));
  EXPECT_TRUE(FixedAmount::FromRaw(1) != FixedAmount::FromRaw(-1));
  EXPECT_FALSE(FixedAmount::FromRaw(-5) != FixedAmount::FromRaw(-5));
}

TEST(FixedAmount, DiffersFromInteger) {
  EXPECT_FALSE(FixedAmount::FromRaw(0).DiffersFromInt(0));
  EXPECT_TRUE(FixedAmount::FromRaw(1).DiffersFromInt(0)) << "a ten-thousandth is a movement";
  EXPECT_TRUE(FixedAmount::FromRaw(-1).DiffersFromInt(0));
  EXPECT_FALSE(FixedAmount::FromRaw(-30000).DiffersFromInt(-3));
  EXPECT_TRUE(FixedAmount::FromRaw(-30000).DiffersFromInt(3));
  EXPECT_TRUE(FixedAmount::FromRaw(30001).DiffersFromInt(3));
}

}  // namespace

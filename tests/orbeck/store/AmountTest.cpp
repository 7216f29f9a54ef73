// Amount texts: what the loader accepts, what it refuses, and that the dumper's text reads back.
#include "orbeck/store/Amount.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace orbeck::store {
namespace {

TEST(Amount, ReadsYenWithUpToFourDecimalsAsTenThousandths) {
  struct Case {
    const char* text;
    int64_t value;
  } cases[] = {{"0", 0},
               {"-0", 0},
               {"1500000", 15000000000},
               {"123.4567", 1234567},
               {"-2.5", -25000},
               {"0.0001", 1},
               {"-0.0001", -1},
               {"007", 70000},
               {"922337203685477.5807", std::numeric_limits<int64_t>::max()},
               {"-922337203685477.5808", std::numeric_limits<int64_t>::min()}};
  for (const Case& c : cases) {
    std::string error;
    std::optional<int64_t> v = ParseAmount(c.text, &error);
    ASSERT_TRUE(v.has_value()) << c.text << ": " << error;
    EXPECT_EQ(c.value, *v) << c.text;
  }
}

TEST(Amount, RefusesMalformedTooPreciseAndOverflowingTexts) {
  for (const char* text : {"", "-", "1.", ".5", "+1", "1e3", " 1", "1 ", "1,000", "1.23456", "0.00001",
                           "922337203685477.5808", "-922337203685477.5809", "99999999999999999999", "１"}) {
    std::string error;
    EXPECT_FALSE(ParseAmount(text, &error).has_value()) << "accepted \"" << text << "\"";
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(Amount, FormatsTheShortestTextThatReadsBack) {
  EXPECT_EQ("0", FormatAmount(0));
  EXPECT_EQ("-2.5", FormatAmount(-25000));
  EXPECT_EQ("0.0001", FormatAmount(1));
  EXPECT_EQ("-0.001", FormatAmount(-10));
  EXPECT_EQ("150", FormatAmount(1500000));
  EXPECT_EQ("-922337203685477.5808", FormatAmount(std::numeric_limits<int64_t>::min()));
  for (int64_t v : {int64_t{1}, int64_t{-9999}, int64_t{10001}, int64_t{123456789012},
                    std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min()}) {
    EXPECT_EQ(v, ParseAmount(FormatAmount(v), nullptr).value_or(0)) << FormatAmount(v);
  }
}

}  // namespace
}  // namespace orbeck::store

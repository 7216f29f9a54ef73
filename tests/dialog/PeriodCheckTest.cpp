// The month checks: which ranges pass for a fiscal year, and which edit a failure focuses.
#include "dialog/PeriodCheck.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct Year {
  int32_t start;
  int32_t end;
};
constexpr Year kAprilMarch{20240401, 20250331};
constexpr Year kJanuaryDecember{20240101, 20241231};
constexpr Year kOctoberMarch{20241001, 20250331};  // a six-month period running over the year end

std::string Describe(const PeriodCheck& c) {
  if (c.passed) return "passed";
  std::string text = c.message == PeriodMessage::WrongPeriod ? "wrong period" : "before introduction";
  return text + (c.focus == PeriodField::FirstMonth ? ", first month" : ", last month");
}

std::string Check(Year y, const char* first, const char* last, int16_t intro = 0) {
  return Describe(ValidatePeriod(first, last, y.start, y.end, intro));
}

TEST(PeriodCheck, AprilToMarch) {
  EXPECT_EQ("passed", Check(kAprilMarch, "10", "3"));
  EXPECT_EQ("passed", Check(kAprilMarch, "4", "3"));
  EXPECT_EQ("passed", Check(kAprilMarch, "4", "4"));
  EXPECT_EQ("passed", Check(kAprilMarch, "1", "2"));
  EXPECT_EQ("wrong period, last month", Check(kAprilMarch, "3", "10"));  // R5
  EXPECT_EQ("wrong period, last month", Check(kAprilMarch, "5", "4"));   // R4
  EXPECT_EQ("wrong period, last month", Check(kAprilMarch, "2", "1"));
}

TEST(PeriodCheck, JanuaryToDecember) {
  EXPECT_EQ("passed", Check(kJanuaryDecember, "1", "12"));
  EXPECT_EQ("passed", Check(kJanuaryDecember, "7", "7"));
  EXPECT_EQ("wrong period, first month", Check(kJanuaryDecember, "12", "1"));  // R3
  EXPECT_EQ("wrong period, first month", Check(kJanuaryDecember, "0", "5"));
  EXPECT_EQ("wrong period, first month", Check(kJanuaryDecember, "13", "5"));
  EXPECT_EQ("wrong period, first month", Check(kJanuaryDecember, "", "5"));
  EXPECT_EQ("wrong period, first month", Check(kJanuaryDecember, "13", "13"));
  EXPECT_EQ("wrong period, last month", Check(kJanuaryDecember, "1", "13"));
  EXPECT_EQ("wrong period, last month", Check(kJanuaryDecember, "1", ""));
}

TEST(PeriodCheck, ShortYearsWithoutWrap) {
  constexpr Year marchToAugust{20240301, 20240831};
  EXPECT_EQ("wrong period, first month", Check(marchToAugust, "2", "5"));  // R1
  EXPECT_EQ("wrong period, first month", Check(marchToAugust, "3", "9"));  // R2 focuses the first month
  EXPECT_EQ("passed", Check(marchToAugust, "3", "8"));
}

TEST(PeriodCheck, OctoberToMarch) {
  EXPECT_EQ("passed", Check(kOctoberMarch, "11", "2"));
  EXPECT_EQ("passed", Check(kOctoberMarch, "10", "3"));
  EXPECT_EQ("wrong period, first month", Check(kOctoberMarch, "5", "2"));   // R6
  EXPECT_EQ("wrong period, first month", Check(kOctoberMarch, "11", "6"));  // R7
  EXPECT_EQ("wrong period, last month", Check(kOctoberMarch, "2", "11"));   // R5
  EXPECT_EQ("wrong period, last month", Check(kOctoberMarch, "12", "11"));  // R4
}

TEST(PeriodCheck, IntroductionMonthComparesTheLastMonthOnly) {
  EXPECT_EQ("before introduction, last month", Check(kAprilMarch, "4", "6", 4));
  EXPECT_EQ("passed", Check(kAprilMarch, "4", "7", 4));
  EXPECT_EQ("passed", Check(kAprilMarch, "10", "3", 12));
  EXPECT_EQ("before introduction, last month", Check(kAprilMarch, "4", "2", 12));
  // A wrong period is reported before the introduction month is looked at.
  EXPECT_EQ("wrong period, last month", Check(kAprilMarch, "5", "4", 12));
}

}  // namespace

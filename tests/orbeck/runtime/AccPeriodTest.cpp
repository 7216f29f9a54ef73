// The fiscal calendar: accounting months by closing day and the bounds of month codes.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "runtime/AccPeriod.h"

namespace {

std::pair<long, long> Bounds(ClAccPeriod& period, short code) {
  long first = -1, last = -1;
  EXPECT_EQ(period.GetPeriodByMonthKind(code, &first, &last), 0) << "month code " << code;
  return {first, last};
}

short MonthOf(ClAccPeriod& period, long date) {
  short month = -1;
  EXPECT_EQ(period.GetAMonthByDate(date, &month, 0), 0) << date;
  return month;
}

TEST(AccPeriodTest, ClosingDayFollowsTheEndDate) {
  ClAccPeriod period;
  short day = 0;
  ASSERT_EQ(period.GetClosingDayByEndDate(20250331, 0, &day), 0);
  EXPECT_EQ(day, 31);
  ASSERT_EQ(period.GetClosingDayByEndDate(20240229, 0, &day), 0);
  EXPECT_EQ(day, 31);  // leap-year February ends on the 29th
  ASSERT_EQ(period.GetClosingDayByEndDate(20250228, 0, &day), 0);
  EXPECT_EQ(day, 31);
  ASSERT_EQ(period.GetClosingDayByEndDate(20250420, 0, &day), 0);
  EXPECT_EQ(day, 20);
  EXPECT_NE(period.GetClosingDayByEndDate(20240230, 0, &day), 0);
}

TEST(AccPeriodTest, CalendarMonthsWithClosingDay31) {
  ClAccPeriod period;
  ASSERT_EQ(period.SetPeriod(20240401, 20250331), 0);
  ASSERT_EQ(period.SetClosingDay(31), 0);
  EXPECT_EQ(MonthOf(period, 20240401), 4);
  EXPECT_EQ(MonthOf(period, 20240430), 4);
  EXPECT_EQ(MonthOf(period, 20241231), 12);

  // Every fiscal month from its calendar, derived independently of the runtime.
  const std::vector<std::pair<long, long>> expected = {
      {20240401, 20240430}, {20240501, 20240531}, {20240601, 20240630}, {20240701, 20240731},
      {20240801, 20240831}, {20240901, 20240930}, {20241001, 20241031}, {20241101, 20241130},
      {20241201, 20241231}, {20250101, 20250131}, {20250201, 20250228}, {20250301, 20250331}};
  for (short code = 1; code <= 12; ++code) EXPECT_EQ(Bounds(period, code), expected[code - 1]) << code;
  EXPECT_EQ(Bounds(period, 15), expected[5]);
  EXPECT_EQ(Bounds(period, 18), expected[11]);
}

TEST(AccPeriodTest, MonthsCloseOnThe20th) {
  ClAccPeriod period;
  ASSERT_EQ(period.SetPeriod(20240421, 20250420), 0);
  ASSERT_EQ(period.SetClosingDay(20), 0);
  // A date after the 20th belongs to the next month, across the year end too.
  EXPECT_EQ(MonthOf(period, 20240420), 4);
  EXPECT_EQ(MonthOf(period, 20240421), 5);
  EXPECT_EQ(MonthOf(period, 20241221), 1);

  EXPECT_EQ(Bounds(period, 1), std::make_pair(20240421L, 20240520L));
  EXPECT_EQ(Bounds(period, 8), std::make_pair(20241121L, 20241220L));
  EXPECT_EQ(Bounds(period, 9), std::make_pair(20241221L, 20250120L));
  EXPECT_EQ(Bounds(period, 11), std::make_pair(20250221L, 20250320L));
  EXPECT_EQ(Bounds(period, 12), std::make_pair(20250321L, 20250420L));
  EXPECT_EQ(Bounds(period, 15), std::make_pair(20240921L, 20241020L));
  EXPECT_EQ(Bounds(period, 18), std::make_pair(20250321L, 20250420L));
}

TEST(AccPeriodTest, ClosingDayBeyondAShortMonthClosesAtItsEnd) {
  ClAccPeriod period;
  ASSERT_EQ(period.SetPeriod(20241001, 20250930), 0);
  ASSERT_EQ(period.SetClosingDay(30), 0);
  // February has no 30th: it closes on the 28th and March starts on the 1st.
  EXPECT_EQ(Bounds(period, 5), std::make_pair(20250131L, 20250228L));
  EXPECT_EQ(Bounds(period, 6), std::make_pair(20250301L, 20250330L));
}

TEST(AccPeriodTest, ShortPeriodYearEndIsItsLastMonth) {
  ClAccPeriod period;
  ASSERT_EQ(period.SetPeriod(20240401, 20240930), 0);
  ASSERT_EQ(period.SetClosingDay(31), 0);
  EXPECT_EQ(Bounds(period, 18), std::make_pair(20240901L, 20240930L));
}

TEST(AccPeriodTest, RejectsUnknownCodesAndUnsetPeriods) {
  ClAccPeriod unset;
  long first = 0, last = 0;
  EXPECT_NE(unset.GetPeriodByMonthKind(1, &first, &last), 0);
  ClAccPeriod period;
  ASSERT_EQ(period.SetPeriod(20240401, 20250331), 0);
  EXPECT_NE(period.GetPeriodByMonthKind(0, &first, &last), 0);
  EXPECT_NE(period.GetPeriodByMonthKind(13, &first, &last), 0);
  EXPECT_NE(period.SetPeriod(20250331, 20240401), 0);
}

}  // namespace

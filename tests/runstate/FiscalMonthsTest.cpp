// Fiscal months and the month filter; the filter is compared byte for byte with records
// built here from the host's layout (34-byte entries, little-endian fields).
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "runstate/FiscalMonths.h"

namespace {

using FilterBytes = std::array<uint8_t, 136>;

void Put16(FilterBytes& bytes, std::size_t at, int value) {
  bytes[at] = static_cast<uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// One condition on the month code (item 17) with a 16-bit value (type 2).
void PutEntry(FilterBytes& bytes, int entry, int comparison, int value, int link) {
  const std::size_t base = static_cast<std::size_t>(entry) * 34;
  bytes[base] = 17;
  Put16(bytes, base + 6, comparison);
  Put16(bytes, base + 10, 2);
  Put16(bytes, base + 18, value);
  Put16(bytes, base + 30, link);
}

FilterBytes Built(int32_t start, int32_t end, int32_t interim, int16_t first, int16_t last) {
  DataProfile profile{};
  profile.periodStart = start;
  profile.periodEnd = end;
  profile.interimClosing = interim;
  StFINDINFO filter;
  std::memset(&filter, 0xA5, sizeof filter);
  BuildMonthFilter(&filter, &profile, first, last);
  FilterBytes bytes;
  std::memcpy(bytes.data(), &filter, bytes.size());
  return bytes;
}

struct Indexes {
  int16_t first, last;
  bool operator==(const Indexes&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Indexes& i) { return os << i.first << "/" << i.last; }

Indexes IndexOf(int16_t start, int16_t endCode, int16_t first, int16_t last) {
  Indexes i{0, 0};
  FiscalMonthIndex(start, endCode, first, last, &i.first, &i.last);
  return i;
}

}  // namespace

TEST(FiscalMonths, MonthsOfPeriodFollowTheCalendar) {
  int16_t start = 0, endCode = 0;
  MonthsOfPeriod(20240101, 20241231, &start, &endCode);
  EXPECT_EQ(1, start);
  EXPECT_EQ(12, endCode);
  MonthsOfPeriod(20240401, 20250331, &start, &endCode);
  EXPECT_EQ(4, start);
  EXPECT_EQ(103, endCode);
  // Months closing on the 20th: the start date after the 20th belongs to the next month.
  MonthsOfPeriod(20240421, 20250420, &start, &endCode);
  EXPECT_EQ(5, start);
  EXPECT_EQ(104, endCode);
  int16_t onlyEnd = 0;
  MonthsOfPeriod(20241001, 20250930, nullptr, &onlyEnd);
  EXPECT_EQ(109, onlyEnd);
}

TEST(FiscalMonths, IndexesWithinTheFiscalYear) {
  for (int16_t m = 1; m <= 12; ++m) EXPECT_EQ((Indexes{m, m}), IndexOf(1, 12, m, m)) << "month " << m;
  EXPECT_EQ((Indexes{1, 12}), IndexOf(4, 103, 4, 3));
  EXPECT_EQ((Indexes{3, 11}), IndexOf(4, 103, 6, 2));
  EXPECT_EQ((Indexes{10, 6}), IndexOf(4, 103, 1, 9));
  EXPECT_EQ((Indexes{1, 6}), IndexOf(4, 9, 4, 9));
  EXPECT_EQ((Indexes{2, 5}), IndexOf(4, 9, 5, 8));
}

TEST(MonthFilter, JanuaryToDecemberEndingWithTheYearAddsTheYearEndAdjustment) {
  FilterBytes expected{};
  PutEntry(expected, 0, 4, 1, 1);
  PutEntry(expected, 1, 6, 12, 2);
  PutEntry(expected, 2, 1, 18, 0);
  EXPECT_EQ(expected, Built(20240101, 20241231, 0, 1, 12));
}

TEST(MonthFilter, AprilToMarchEndingInMarch) {
  FilterBytes expected{};
  PutEntry(expected, 0, 4, 1, 1);
  PutEntry(expected, 1, 6, 12, 2);
  PutEntry(expected, 2, 1, 18, 0);
  EXPECT_EQ(expected, Built(20240401, 20250331, 1, 4, 3));
}

TEST(MonthFilter, SixthMonthWithInterimClosingAddsTheInterimAdjustment) {
  FilterBytes expected{};
  PutEntry(expected, 0, 4, 1, 1);
  PutEntry(expected, 1, 6, 6, 2);
  PutEntry(expected, 2, 1, 15, 0);
  EXPECT_EQ(expected, Built(20240401, 20250331, 1, 4, 9));
  // Without an interim closing the same months are a plain range.
  FilterBytes plain{};
  PutEntry(plain, 0, 4, 1, 1);
  PutEntry(plain, 1, 6, 6, 0);
  EXPECT_EQ(plain, Built(20240401, 20250331, 0, 4, 9));
}

TEST(MonthFilter, SixMonthPeriodAddsBothAdjustments) {
  FilterBytes expected{};
  PutEntry(expected, 0, 4, 1, 1);
  PutEntry(expected, 1, 6, 6, 2);
  PutEntry(expected, 2, 1, 15, 2);
  PutEntry(expected, 3, 1, 18, 0);
  EXPECT_EQ(expected, Built(20240401, 20240930, 1, 4, 9));
}

TEST(MonthFilter, RangeInsideTheYearHasTwoEntries) {
  FilterBytes expected{};
  PutEntry(expected, 0, 4, 3, 1);
  PutEntry(expected, 1, 6, 11, 0);
  EXPECT_EQ(expected, Built(20240401, 20250331, 0, 6, 2));
}

TEST(MonthFilter, MissingProfileLeavesTheFilterUntouched) {
  StFINDINFO filter;
  std::memset(&filter, 0x5A, sizeof filter);
  BuildMonthFilter(&filter, nullptr, 4, 3);
  FilterBytes bytes;
  std::memcpy(bytes.data(), &filter, bytes.size());
  FilterBytes expected;
  expected.fill(0x5A);
  EXPECT_EQ(expected, bytes);
}

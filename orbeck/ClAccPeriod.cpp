// The fiscal calendar. Months close on the closing day: with 31 they are calendar months;
// with a closing day d below 31 a date after day d belongs to the next month, so the
// accounting month M runs from the day after the previous month's closing to day d of M
// (the month's last day when it is shorter).
#include "runtime/AccPeriod.h"

#include <algorithm>

#include "orbeck/RuntimeStatus.h"

namespace {

struct YearMonth {
  long year;
  long month;  // 1-12
};

bool IsLeap(long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

long DaysInMonth(long year, long month) {
  static const long kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(long date) {
  long year = date / 10000, month = date / 100 % 100, day = date % 100;
  return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

YearMonth AddMonths(YearMonth ym, long months) {
  long index = ym.year * 12 + (ym.month - 1) + months;
  return {index / 12, index % 12 + 1};
}

long MonthsBetween(YearMonth from, YearMonth to) {
  return (to.year * 12 + to.month) - (from.year * 12 + from.month);
}

}  // namespace

ClAccPeriod::ClAccPeriod() = default;

long ClAccPeriod::SetPeriod(long periodStart, long periodEnd) {
  if (!IsValidDate(periodStart) || !IsValidDate(periodEnd) || periodEnd < periodStart)
    return orbeck::kNotReady;
  periodStart_ = periodStart;
  periodEnd_ = periodEnd;
  return 0;
}

long ClAccPeriod::GetClosingDayByEndDate(long endDate, long /*flags*/, short* closingDay) {
  if (closingDay == nullptr || !IsValidDate(endDate)) return orbeck::kNotReady;
  long year = endDate / 10000, month = endDate / 100 % 100, day = endDate % 100;
  *closingDay = static_cast<short>(day == DaysInMonth(year, month) ? 31 : day);
  return 0;
}

long ClAccPeriod::SetClosingDay(short closingDay) {
  if (closingDay < 1 || closingDay > 31) return orbeck::kNotReady;
  closingDay_ = closingDay;
  return 0;
}

long ClAccPeriod::GetAMonthByDate(long date, short* month, long /*flags*/) {
  if (month == nullptr || !IsValidDate(date)) return orbeck::kNotReady;
  YearMonth ym{date / 10000, date / 100 % 100};
  if (closingDay_ < 31 && date % 100 > closingDay_) ym = AddMonths(ym, 1);
  *month = static_cast<short>(ym.month);
  return 0;
}

long ClAccPeriod::GetPeriodByMonthKind(short monthCode, long* firstDay, long* lastDay) {
  if (periodStart_ == 0) return orbeck::kNotReady;
  auto accountingMonth = [this](long date) {
    YearMonth ym{date / 10000, date / 100 % 100};
    return closingDay_ < 31 && date % 100 > closingDay_ ? AddMonths(ym, 1) : ym;
  };
  auto closingDate = [this](YearMonth ym) {
    return ym.year * 10000 + ym.month * 100 + std::min<long>(closingDay_, DaysInMonth(ym.year, ym.month));
  };
  long index = 0;
  if (monthCode >= 1 && monthCode <= 12) {
    index = monthCode;
  } else if (monthCode == 15) {
    index = 6;
  } else if (monthCode == 18) {
    index = MonthsBetween(accountingMonth(periodStart_), accountingMonth(periodEnd_)) + 1;
  } else {
    return orbeck::kNotReady;
  }
  YearMonth month = AddMonths(accountingMonth(periodStart_), index - 1);
  long last = closingDate(month);
  long previous = closingDate(AddMonths(month, -1));
  // The day after the previous month's closing.
  YearMonth pm{previous / 10000, previous / 100 % 100};
  long first = previous % 100 < DaysInMonth(pm.year, pm.month)
                   ? previous + 1
                   : closingDate(AddMonths(pm, 1)) / 100 * 100 + 1;
  if (firstDay != nullptr) *firstDay = first;
  if (lastDay != nullptr) *lastDay = last;
  return 0;
}

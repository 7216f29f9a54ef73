// The fiscal calendar of one accounting period: month codes, closing day and month bounds.
#pragma once

class ClAccPeriod {
 public:
  ClAccPeriod();
  long SetPeriod(long periodStart, long periodEnd);
  // The closing day implied by the period's last day (31 when it is a month end).
  long GetClosingDayByEndDate(long endDate, long flags, short* closingDay);
  long SetClosingDay(short closingDay);
  // The calendar month of the accounting month that contains date.
  long GetAMonthByDate(long date, short* month, long flags);
  // First and last day (yyyymmdd) of the month with the given fiscal month code
  // (1-12 the months by index, 15 interim and 18 year-end adjustment).
  long GetPeriodByMonthKind(short monthCode, long* firstDay, long* lastDay);

 private:
  long periodStart_ = 0;
  long periodEnd_ = 0;
  short closingDay_ = 31;
};

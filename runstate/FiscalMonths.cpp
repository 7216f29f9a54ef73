// The fiscal calendar: start month and end code of a period, fiscal month indexes and the
// month filter (up to four chained month-code conditions) of the aggregation.
#include "runstate/FiscalMonths.h"

#include <cstring>
#include <memory>
#include <new>

#include "runtime/AccPeriod.h"
#include "runtime/HostCodes.h"

namespace {

using namespace hostcode;

constexpr int16_t kInterimIndex = 6;  // the fiscal month that ends the first half

void SetCondition(StFINDCOND& cond, int16_t comparison, int16_t value, int16_t link) {
  cond.item = kFindMonthCode;
  cond.comparison = comparison;
  cond.valueType = kShortValue;
  cond.shortValue = value;
  cond.link = link;
}

int16_t CalendarMonth(int32_t date) { return static_cast<int16_t>((date % 10000) / 100); }

}  // namespace

void MonthsOfPeriod(int32_t periodStart, int32_t periodEnd, int16_t* startMonth, int16_t* endCode) {
  short start = CalendarMonth(periodStart);
  const int16_t endMonth = CalendarMonth(periodEnd);

  std::unique_ptr<ClAccPeriod> period(new (std::nothrow) ClAccPeriod());
  if (!period) return;
  period->SetPeriod(periodStart, periodEnd);
  short closingDay = 31;
  period->GetClosingDayByEndDate(periodEnd, 0, &closingDay);
  period->SetClosingDay(closingDay);
  period->GetAMonthByDate(periodStart, &start, 0);
  period.reset();

  const int16_t code = static_cast<int16_t>(endMonth < start ? endMonth + 100 : endMonth);
  if (startMonth) *startMonth = start;
  if (endCode) *endCode = code;
}

void FiscalMonthIndex(int16_t startMonth, int16_t endCode, int16_t firstMonth, int16_t lastMonth,
                      int16_t* firstIndex, int16_t* lastIndex) {
  const int endMonth = endCode % 100;
  const bool wraps = endCode / 100 != 0;

  int first = 1;
  if (firstMonth > startMonth) {
    first = firstMonth - startMonth + 1;
  } else if (firstMonth < startMonth) {
    first = firstMonth - startMonth + 13;
  }

  int last = 1;
  if (lastMonth == endMonth) {
    last = endMonth - startMonth + (wraps ? 13 : 1);
  } else if (lastMonth > endMonth) {
    last = lastMonth - startMonth + 1;
  } else {
    last = lastMonth - startMonth + (wraps ? 13 : 1);
  }

  if (firstIndex) *firstIndex = static_cast<int16_t>(first);
  if (lastIndex) *lastIndex = static_cast<int16_t>(last);
}

void BuildMonthFilter(StFINDINFO* filter, const DataProfile* profile, int16_t firstMonth, int16_t lastMonth) {
  if (!filter || !profile) return;
  int16_t startMonth = 0;
  int16_t endCode = 0;
  MonthsOfPeriod(profile->periodStart, profile->periodEnd, &startMonth, &endCode);
  int16_t firstIndex = 1;
  int16_t lastIndex = 1;
  FiscalMonthIndex(startMonth, endCode, firstMonth, lastMonth, &firstIndex, &lastIndex);

  std::memset(filter, 0, sizeof *filter);
  SetCondition(filter->cond[0], kNotLessThan, firstIndex, kLinkAnd);
  SetCondition(filter->cond[1], kNotGreaterThan, lastIndex, kLinkLast);
  int last = 1;
  if (profile->interimClosing == 1 && lastIndex == kInterimIndex) {
    filter->cond[last].link = kLinkOr;
    SetCondition(filter->cond[++last], kEqual, kMonthInterimAdjustment, kLinkLast);
  }
  if (lastMonth == endCode % 100) {
    filter->cond[last].link = kLinkOr;
    SetCondition(filter->cond[++last], kEqual, kMonthYearEndAdjustment, kLinkLast);
  }
}

// The month rules: both months must lie in the fiscal year's calendar months, in order, and
// the last month may not come before the introduction month. The rules run in a fixed order
// because each decides which of the two edits receives the focus.
#include "dialog/PeriodCheck.h"

#include "dialog/DecimalValue.h"
#include "runstate/FiscalMonths.h"

namespace {

PeriodCheck Fail(PeriodMessage message, PeriodField focus) { return PeriodCheck{false, message, focus}; }

}  // namespace

PeriodCheck ValidatePeriod(std::string_view firstMonthText, std::string_view lastMonthText,
                           int32_t periodStart, int32_t periodEnd, int16_t introMonthIndex) {
  const int32_t f = DecimalValue(firstMonthText);
  const int32_t l = DecimalValue(lastMonthText);
  if (f < 1 || f > 12) return Fail(PeriodMessage::WrongPeriod, PeriodField::FirstMonth);
  if (l < 1 || l > 12) return Fail(PeriodMessage::WrongPeriod, PeriodField::LastMonth);

  int16_t a = 0;
  int16_t b = 0;
  MonthsOfPeriod(periodStart, periodEnd, &a, &b);
  const bool wrap = b >= 100;
  const int32_t e = b % 100;

  if (!wrap) {
    if (f < a || l > e || f > l) return Fail(PeriodMessage::WrongPeriod, PeriodField::FirstMonth);
  } else {
    if (a < f && a <= l && l < f) return Fail(PeriodMessage::WrongPeriod, PeriodField::LastMonth);
    if (f <= e && (f > l || l > e)) return Fail(PeriodMessage::WrongPeriod, PeriodField::LastMonth);
    if ((e < f && f < a) || (e < l && l < a))
      return Fail(PeriodMessage::WrongPeriod, PeriodField::FirstMonth);
  }

  int16_t firstIndex = 1;
  int16_t lastIndex = 1;
  FiscalMonthIndex(a, b, static_cast<int16_t>(f), static_cast<int16_t>(l), &firstIndex, &lastIndex);
  if (lastIndex < introMonthIndex) return Fail(PeriodMessage::BeforeIntroduction, PeriodField::LastMonth);
  return PeriodCheck{};
}

// The check of the aggregation months against the fiscal year and the introduction month.
#pragma once

#include <cstdint>
#include <string_view>

enum class PeriodField { None, FirstMonth, LastMonth };
enum class PeriodMessage { None, WrongPeriod, BeforeIntroduction };

// The outcome of ValidatePeriod: passed, or the message to show and the month edit to focus.
struct PeriodCheck {
  bool passed = true;
  PeriodMessage message = PeriodMessage::None;
  PeriodField focus = PeriodField::None;
};

// Checks the two month texts (decimal, empty = 0) against the fiscal period
// periodStart..periodEnd (yyyymmdd) and the data's introduction month index.
PeriodCheck ValidatePeriod(std::string_view firstMonthText, std::string_view lastMonthText,
                           int32_t periodStart, int32_t periodEnd, int16_t introMonthIndex);

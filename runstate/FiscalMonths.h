// The fiscal calendar: months of the period, fiscal month indexes and the month filter of
// the aggregation, built from the selected data's profile.
#pragma once

#include <cstdint>

#include "runstate/DataProfile.h"
#include "runtime/Records.h"

// Fiscal start month and end code (end month, plus 100 when the year runs into the next
// calendar year) of a period; either output may be absent.
void MonthsOfPeriod(int32_t periodStart, int32_t periodEnd, int16_t* startMonth, int16_t* endCode);

// 1-based positions of the first and last month within the fiscal year.
void FiscalMonthIndex(int16_t startMonth, int16_t endCode, int16_t firstMonth, int16_t lastMonth,
                      int16_t* firstIndex, int16_t* lastIndex);

// Builds the month filter from the entered calendar months; nothing when either pointer is missing.
void BuildMonthFilter(StFINDINFO* filter, const DataProfile* profile, int16_t firstMonth, int16_t lastMonth);

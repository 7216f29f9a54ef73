// The selected data's profile and the fiscal calendar: months of the period, fiscal month
// indexes and the month filter of the aggregation.
#pragma once

#include <cstdint>

#include "app/OrbeckRuntime/Records.h"

class ClSetData;

// A copy of the host's record of the selected data.
using DataProfile = StDATAINFO;

// Fills profile with the record of the data selected for the current user; 1 found, 0 not.
// dataSet caches the host's data set for the process (LinkApp keeps it).
int ReadDataProfile(DataProfile& profile, ClSetData*& dataSet);

// The first 12 bytes of the consumption-tax settings of dataId; 1 read, 0 failed (untouched).
int ReadTaxSettings(uint8_t (&record)[12], const char* dataId);

// Fiscal start month and end code (end month, plus 100 when the year runs into the next
// calendar year) of a period; either output may be absent.
void MonthsOfPeriod(int32_t periodStart, int32_t periodEnd, int16_t* startMonth, int16_t* endCode);

// 1-based positions of the first and last month within the fiscal year.
void FiscalMonthIndex(int16_t startMonth, int16_t endCode, int16_t firstMonth, int16_t lastMonth,
                      int16_t* firstIndex, int16_t* lastIndex);

// Builds the month filter from the entered calendar months; nothing when either pointer is missing.
void BuildMonthFilter(StFINDINFO* filter, const DataProfile* profile, int16_t firstMonth, int16_t lastMonth);

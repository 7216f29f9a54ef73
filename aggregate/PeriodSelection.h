// What the month filter selects, read back from it: the fiscal month indexes of the first
// and last month, whether the adjustment periods count, and whether the period starts at
// the beginning of the data's bookkeeping.
#pragma once

#include <cstdint>

#include "runtime/Records.h"

struct PeriodSelection {
  int firstIndex = 1;              // E: fiscal month index of the first month
  int lastIndex = 12;              // J: fiscal month index of the last month
  bool closingAdjustment = false;  // entry 13 counts
  bool interimAdjustment = false;  // entry 14 counts
  bool startsAtBeginning = true;   // S: no months of this data lie before the period
};

// The value of one condition, whichever width it was written with.
int32_t FindConditionValue(const StFINDCOND& cond);

PeriodSelection SelectPeriod(const StFINDINFO& periodFind, const StDATAINFO& profile);

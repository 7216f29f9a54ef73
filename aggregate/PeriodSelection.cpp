// Reading the month filter and the data's introduction month into a PeriodSelection.
#include "aggregate/PeriodSelection.h"

namespace {

constexpr int kYearEndAdjustmentCode = 18;

}  // namespace

int32_t FindConditionValue(const StFINDCOND& cond) {
  return cond.valueType == 3 ? cond.longValue : cond.shortValue;
}

PeriodSelection SelectPeriod(const StFINDINFO& periodFind, const StDATAINFO& profile) {
  PeriodSelection selection;
  selection.firstIndex = FindConditionValue(periodFind.cond[0]);
  selection.lastIndex = FindConditionValue(periodFind.cond[1]);
  // Every condition chained after the month range is looked at: when both adjustment
  // periods are chained (a six-month year with an interim closing), the year-end one sits
  // fourth, and its amounts belong to the period all the same.
  for (int i = 1; i + 1 < 4 && periodFind.cond[i].link != 0; ++i) {
    if (static_cast<int16_t>(FindConditionValue(periodFind.cond[i + 1])) == kYearEndAdjustmentCode) {
      selection.closingAdjustment = true;
    }
  }
  selection.interimAdjustment = profile.interimClosing == 1 && selection.lastIndex == 6;
  const int intro = profile.introMonthIndex;
  selection.startsAtBeginning = intro != 0 ? selection.firstIndex <= intro : selection.firstIndex == 1;
  return selection;
}

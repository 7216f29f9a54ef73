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
  // Only the condition right after the month range is looked at: when both adjustment
  // periods are chained, the year-end one sits fourth and is not taken.
  selection.closingAdjustment =
      periodFind.cond[1].link != 0 &&
      static_cast<int16_t>(FindConditionValue(periodFind.cond[2])) == kYearEndAdjustmentCode;
  selection.interimAdjustment = profile.interimClosing == 1 && selection.lastIndex == 6;
  const int intro = profile.introMonthIndex;
  selection.startsAtBeginning = intro != 0 ? selection.firstIndex <= intro : selection.firstIndex == 1;
  return selection;
}

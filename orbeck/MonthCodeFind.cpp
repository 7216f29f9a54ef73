// Evaluation of the month-code find and the month code of a journal.
#include "orbeck/MonthCodeFind.h"

#include "runtime/HostCodes.h"

namespace orbeck {
namespace {

using namespace hostcode;

// The journal adjustment kinds of the store (docs/host-data.md).
inline constexpr int kYearEndAdjustmentKind = 13;
inline constexpr int kInterimAdjustmentKind = 14;

// A running month number (year * 12 + month - 1); a day after the closing day belongs to
// the next month.
int AccountingMonth(std::int32_t date, int closingDay) {
  const int running = date / 10000 * 12 + date / 100 % 100 - 1;
  return date % 100 > closingDay ? running + 1 : running;
}

}  // namespace

bool MonthCodeFind::Assign(const StFINDINFO* find) {
  *this = MonthCodeFind();
  if (find == nullptr || (find->cond[0].item == 0 && find->cond[0].comparison == 0)) return true;
  for (const StFINDCOND& cond : find->cond) {
    Condition& c = conditions_[static_cast<std::size_t>(count_++)];
    c.comparison = cond.comparison;
    c.value = cond.valueType == kShortValue ? cond.shortValue : cond.longValue;
    c.link = cond.link;
    const bool known = cond.item == kFindMonthCode &&
                       (cond.valueType == kShortValue || cond.valueType == kLongValue) &&
                       (c.comparison == kEqual || c.comparison == kNotEqual || c.comparison == kNotLessThan ||
                        c.comparison == kNotGreaterThan) &&
                       (c.link == kLinkLast || c.link == kLinkAnd || c.link == kLinkOr);
    if (!known) {
      *this = MonthCodeFind();
      return false;
    }
    if (c.link == kLinkLast) break;
  }
  conditions_[static_cast<std::size_t>(count_ - 1)].link = kLinkLast;
  return true;
}

bool MonthCodeFind::Matches(int monthCode) const {
  bool result = true;
  std::int16_t link = kLinkAnd;
  for (int i = 0; i < count_; ++i) {
    const Condition& c = conditions_[static_cast<std::size_t>(i)];
    bool holds = false;
    switch (c.comparison) {
      case kEqual:
        holds = monthCode == c.value;
        break;
      case kNotEqual:
        holds = monthCode != c.value;
        break;
      case kNotLessThan:
        holds = monthCode >= c.value;
        break;
      default:
        holds = monthCode <= c.value;
        break;
    }
    result = link == kLinkAnd ? result && holds : result || holds;
    link = c.link;
  }
  return result;
}

int MonthCodeOf(std::int32_t date, int adjustment, std::int32_t periodStart, int closingDay) {
  if (adjustment == kInterimAdjustmentKind) return kMonthInterimAdjustment;
  if (adjustment == kYearEndAdjustmentKind) return kMonthYearEndAdjustment;
  const int index = AccountingMonth(date, closingDay) - AccountingMonth(periodStart, closingDay) + 1;
  return index >= 1 && index <= 12 ? index : 0;
}

}  // namespace orbeck

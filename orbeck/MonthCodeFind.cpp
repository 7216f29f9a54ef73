// Evaluation of the month-code find and the month code of a journal.
#include "orbeck/MonthCodeFind.h"

namespace orbeck {
namespace {

inline constexpr std::int32_t kMonthCodeField = 17;

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
    c.value = cond.valueType == 2 ? cond.shortValue : cond.longValue;
    c.link = cond.link;
    const bool known = cond.item == kMonthCodeField && (cond.valueType == 2 || cond.valueType == 3) &&
                       (c.comparison == 1 || c.comparison == 2 || c.comparison == 4 || c.comparison == 6) &&
                       (c.link == 0 || c.link == 1 || c.link == 2);
    if (!known) {
      *this = MonthCodeFind();
      return false;
    }
    if (c.link == 0) break;
  }
  conditions_[static_cast<std::size_t>(count_ - 1)].link = 0;
  return true;
}

bool MonthCodeFind::Matches(int monthCode) const {
  bool result = true;
  std::int16_t link = 1;
  for (int i = 0; i < count_; ++i) {
    const Condition& c = conditions_[static_cast<std::size_t>(i)];
    bool holds = false;
    switch (c.comparison) {
      case 1:
        holds = monthCode == c.value;
        break;
      case 2:
        holds = monthCode != c.value;
        break;
      case 4:
        holds = monthCode >= c.value;
        break;
      default:
        holds = monthCode <= c.value;
        break;
    }
    result = link == 1 ? result && holds : result || holds;
    link = c.link;
  }
  return result;
}

int MonthCodeOf(std::int32_t date, int adjustment, std::int32_t periodStart, int closingDay) {
  if (adjustment == 14) return 15;
  if (adjustment == 13) return 18;
  const int index = AccountingMonth(date, closingDay) - AccountingMonth(periodStart, closingDay) + 1;
  return index >= 1 && index <= 12 ? index : 0;
}

}  // namespace orbeck

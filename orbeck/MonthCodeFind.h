// A find record over the month code, as the ledger cursor applies it to its postings. A
// posting's month code is the fiscal month index of its date (1 to 12), or the code of an
// interim or a year-end adjustment (runtime/HostCodes.h names the fields, comparisons,
// value types and links).
#pragma once

#include <array>
#include <cstdint>

#include "runtime/Records.h"

namespace orbeck {

class MonthCodeFind {
 public:
  // Takes the conditions of `find` (none: every month code matches). False, and no
  // conditions, when the find holds a field, comparison, value type or link beyond those.
  bool Assign(const StFINDINFO* find);
  bool Matches(int monthCode) const;
  bool operator==(const MonthCodeFind&) const = default;

 private:
  struct Condition {
    std::int16_t comparison = 0;
    std::int32_t value = 0;
    std::int16_t link = 0;  // to the next condition
    bool operator==(const Condition&) const = default;
  };
  std::array<Condition, 4> conditions_{};
  int count_ = 0;
};

// The month code of a journal dated `date` with the given adjustment (0, 13 or 14) in a
// fiscal period starting on `periodStart` whose months close on `closingDay`; 0 for a date
// outside the twelve months. The same months as the loader's balance sums.
int MonthCodeOf(std::int32_t date, int adjustment, std::int32_t periodStart, int closingDay);

}  // namespace orbeck

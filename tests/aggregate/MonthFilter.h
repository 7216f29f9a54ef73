// The month filter as the run driver writes it, for the engine's tests: fiscal month
// indexes first..last as 16-bit values, then the interim (15) and year-end (18) adjustment
// conditions when asked.
#pragma once

#include <cstdint>

#include "runtime/Records.h"

inline StFINDINFO MonthFilter(int16_t first, int16_t last, bool interim, bool yearEnd) {
  StFINDINFO find{};
  auto set = [&find](int i, int16_t comparison, int16_t value) {
    find.cond[i].item = 17;
    find.cond[i].comparison = comparison;
    find.cond[i].valueType = 2;
    find.cond[i].shortValue = value;
  };
  set(0, 4, first);
  find.cond[0].link = 1;
  set(1, 6, last);
  int lastWritten = 1;
  if (interim) {
    find.cond[lastWritten].link = 2;
    set(++lastWritten, 1, 15);
  }
  if (yearEnd) {
    find.cond[lastWritten].link = 2;
    set(++lastWritten, 1, 18);
  }
  return find;
}

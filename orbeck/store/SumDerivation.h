// What the host derives for balance rows without explicit sums: the opening entry, the
// journal lines by fiscal month (tax excluded and included), and totals from their members.
#pragma once

#include <cstdint>
#include <string>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

// The fiscal month index (1 = first month of the period) of a date under the data's closing
// day: a date after the closing day belongs to the next month. 0 when outside months 1-12.
int FiscalMonthOfDate(const DataRecord& data, int32_t date);

// Fills `sums` of every balance row of `data` (explicit sums are copied as they stand).
// 1 on success; 0 with a message naming `dataPointer`'s place on a cycle in members,
// a journal date outside the fiscal months or a sum that overflows int64.
int DeriveSums(DataRecord& data, const std::string& dataPointer, std::string& error);

}  // namespace orbeck::store

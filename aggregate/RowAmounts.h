// The arithmetic of one balance row: its opening balance at the start of the chosen period
// and its closing balance (or accrued amount) at the end, in the account's own direction.
#pragma once

#include "aggregate/FixedAmount.h"
#include "aggregate/PeriodSelection.h"
#include "runtime/Records.h"

struct RowAmounts {
  FixedAmount opening;
  FixedAmount closing;
};

// Opening balance of row; amountBasis 1 reads the tax-included amounts. False when a sum
// leaves the range FixedAmount can hold.
bool OpeningOf(const StKAMOKUSUMINFO& row, int amountBasis, const PeriodSelection& period,
               FixedAmount& opening);

// Opening and closing of row; false when a sum leaves the range.
bool ComputeRowAmounts(const StKAMOKUSUMINFO& row, int amountBasis, const PeriodSelection& period,
                       RowAmounts& amounts);

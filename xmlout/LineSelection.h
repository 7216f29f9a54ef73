// Selection of statement lines by account character (科目性格), in list order. The
// selections list only lines of row kind 0 or 3; FindLine looks at every line.
#pragma once

#include <cstdint>
#include <vector>

#include "runstate/StatementModel.h"

using LineSelection = std::vector<const StatementLine*>;

// The first line whose accountCharacter equals code, whatever its row kind; null when none.
const StatementLine* FindLine(const StatementLineList& lines, uint32_t code);

// Lines that carry every bit of mask. False when the selection cannot be allocated.
bool SelectByMask(const StatementLineList& lines, uint32_t mask, LineSelection& selected);

// Lines whose accountCharacter equals code. False when the selection cannot be allocated.
bool SelectExact(const StatementLineList& lines, uint32_t code, LineSelection& selected);

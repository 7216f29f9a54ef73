// The arithmetic of one ledger posting: the amounts that count under the amount basis and
// the consumption-tax rule, the movement in the account's own direction, the own and
// counter codes, and the first test of the sundry (諸口) counter choice.
#pragma once

#include <cstdint>

#include "aggregate/FixedAmount.h"
#include "runtime/Records.h"

struct PostingAmounts {
  FixedAmount debit;       // what counts of the debit side
  FixedAmount credit;      // what counts of the credit side
  FixedAmount debitTotal;  // base amount plus tax, always
  FixedAmount creditTotal;
  FixedAmount movement;  // positive increases the account's balance
};

// The side byte value meaning the account stands on the credit side.
inline constexpr uint8_t kCreditSide = 1;
inline constexpr uint8_t kDebitSide = 2;

// Fills amounts for a posting of account number accountNo; taxAccount is true for the two
// consumption-tax accounts. False when a sum leaves the range FixedAmount can hold.
bool ComputePostingAmounts(const StMOTOCHOINFO& posting, int amountBasis, bool taxAccount, int32_t accountNo,
                           bool debitNature, PostingAmounts& amounts);

int32_t OwnCodeOf(const StMOTOCHOINFO& posting);
int32_t CounterCodeOf(const StMOTOCHOINFO& posting);

// What the counter choice can tell from the posting alone.
enum class CounterDecision { Sundry, Counter, NeedsJournal };
CounterDecision DecideCounter(const StMOTOCHOINFO& posting, const PostingAmounts& amounts);

// True when the posting names the account itself on neither side.
bool IsForeignPosting(const StMOTOCHOINFO& posting, int32_t accountNo);

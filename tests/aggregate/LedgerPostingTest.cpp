// One posting's amounts under the two amount bases and the consumption-tax rule, its
// movement by side and balance direction, and the counter choice from the posting alone.
#include "aggregate/LedgerPosting.h"

#include <gtest/gtest.h>

namespace {

// Cash (111) paid for supplies (541) with tax on the debit side.
StMOTOCHOINFO Posting(uint8_t side) {
  StMOTOCHOINFO posting{};
  posting.lineNo = 1;
  posting.side = side;
  posting.debitCode = 5410000;
  posting.debitAmount = 10000 * 10000;
  posting.debitTax = 1000 * 10000;
  posting.creditCode = 1110000;
  posting.creditAmount = 11000 * 10000;
  posting.creditTax = 0;
  return posting;
}

PostingAmounts Amounts(const StMOTOCHOINFO& posting, int amountBasis, bool taxAccount, int32_t accountNo,
                       bool debitNature) {
  PostingAmounts amounts;
  EXPECT_TRUE(ComputePostingAmounts(posting, amountBasis, taxAccount, accountNo, debitNature, amounts));
  return amounts;
}

TEST(LedgerPosting, MovementByDirectionAndSide) {
  // The cash ledger: cash is on the credit side of a debit-balance account.
  EXPECT_EQ(-11000 * 10000, Amounts(Posting(kCreditSide), 0, false, 111, true).movement.Raw());
  // The supplies ledger: debit side of a debit-balance account.
  EXPECT_EQ(10000 * 10000, Amounts(Posting(kDebitSide), 0, false, 541, true).movement.Raw());
  // Both sides: debit - credit for a debit-balance account, credit - debit otherwise.
  EXPECT_EQ(-1000 * 10000, Amounts(Posting(3), 0, false, 111, true).movement.Raw());
  EXPECT_EQ(1000 * 10000, Amounts(Posting(3), 0, false, 111, false).movement.Raw());
  // A credit-balance account: its credit side raises, its debit side lowers the balance.
  EXPECT_EQ(11000 * 10000, Amounts(Posting(kCreditSide), 0, false, 111, false).movement.Raw());
  EXPECT_EQ(-10000 * 10000, Amounts(Posting(kDebitSide), 0, false, 541, false).movement.Raw());
}

TEST(LedgerPosting, TaxIncludedBasisAddsTheTax) {
  const PostingAmounts amounts = Amounts(Posting(kDebitSide), 1, false, 541, true);
  EXPECT_EQ(11000 * 10000, amounts.debit.Raw());
  EXPECT_EQ(11000 * 10000, amounts.movement.Raw());
  EXPECT_EQ(11000 * 10000, amounts.creditTotal.Raw());
}

TEST(LedgerPosting, TaxAccountOnAnotherAccountsPostingCountsOnlyTheTax) {
  // The 仮払消費税 ledger (account 191) shows the supplies posting by its tax.
  const PostingAmounts foreign = Amounts(Posting(kDebitSide), 0, true, 191, true);
  EXPECT_TRUE(IsForeignPosting(Posting(kDebitSide), 191));
  EXPECT_EQ(1000 * 10000, foreign.debit.Raw());
  EXPECT_EQ(0, foreign.credit.Raw());
  EXPECT_EQ(1000 * 10000, foreign.movement.Raw());
  // Totals stay base plus tax.
  EXPECT_EQ(11000 * 10000, foreign.debitTotal.Raw());

  // A posting naming the tax account itself counts its amounts.
  StMOTOCHOINFO own = Posting(kDebitSide);
  own.debitCode = 1910000;
  EXPECT_FALSE(IsForeignPosting(own, 191));
  EXPECT_EQ(10000 * 10000, Amounts(own, 0, true, 191, true).debit.Raw());
}

TEST(LedgerPosting, OwnAndCounterCodesFollowTheSide) {
  EXPECT_EQ(1110000, OwnCodeOf(Posting(kCreditSide)));
  EXPECT_EQ(5410000, CounterCodeOf(Posting(kCreditSide)));
  EXPECT_EQ(5410000, OwnCodeOf(Posting(kDebitSide)));
  EXPECT_EQ(1110000, CounterCodeOf(Posting(kDebitSide)));
  EXPECT_EQ(5410000, OwnCodeOf(Posting(0)));
}

TEST(LedgerPosting, CounterChoice) {
  StMOTOCHOINFO posting = Posting(kCreditSide);
  const auto decide = [](const StMOTOCHOINFO& p) {
    return DecideCounter(p, Amounts(p, 0, false, 111, true));
  };
  posting.counterKind = 33;
  EXPECT_EQ(CounterDecision::Sundry, decide(posting));
  posting.counterKind = 18;
  EXPECT_EQ(CounterDecision::Counter, decide(posting)) << "18 means sundry only off the credit side";
  posting.side = kDebitSide;
  EXPECT_EQ(CounterDecision::Sundry, decide(posting));
  posting.counterKind = 33;
  EXPECT_EQ(CounterDecision::Counter, decide(posting));

  // Kind 34: unequal totals (11000 against 11000 + 0 here is equal; make them differ).
  posting.counterKind = 34;
  EXPECT_EQ(CounterDecision::Counter, decide(posting)) << "balanced first line";
  posting.lineNo = 3;
  EXPECT_EQ(CounterDecision::NeedsJournal, decide(posting));
  posting.creditAmount += 1;
  EXPECT_EQ(CounterDecision::Sundry, decide(posting));
}

TEST(LedgerPosting, OutOfRangeAmountsFail) {
  StMOTOCHOINFO posting = Posting(kDebitSide);
  posting.debitAmount = 900000000000000000LL;
  posting.debitTax = 100000000000000000LL;
  PostingAmounts amounts;
  EXPECT_FALSE(ComputePostingAmounts(posting, 0, false, 541, true, amounts));
}

}  // namespace

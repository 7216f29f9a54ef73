// The ledger cursor (postings of an account number within a date range, the side byte and
// the tax accounts' extra lines) and the journal cursor.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orbeck/RuntimeStatus.h"
#include "platform/Faults.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/orbeck/runtime/RuntimeWorld.h"

namespace orbeck::test {
namespace {

struct Posting {
  int32_t journalId;
  int32_t lineNo;
  int side;
  bool operator==(const Posting&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Posting& p) {
  return out << "{journal " << p.journalId << " line " << p.lineNo << " side " << p.side << "}";
}

class LedgerCursorTest : public RuntimeWorld {
 protected:
  void SetUp() override {
    RuntimeWorld::SetUp();
    AttachStandard();
    ledger_.AttachSetMgr(ClDataMgr::Inst().GetSetMgr());
    ledger_.SetCurDataID("DEMO01");
    ledger_.AttachOptLink(ClLinkMgr::Inst().GetOptLink());
  }

  std::vector<Posting> Read(int32_t account, int32_t from = 20240401, int32_t to = 20250331) {
    StMOTOCHOHYOJIINFO view{};
    view.accountCode = account;
    view.startDate = from;
    view.endDate = to;
    EXPECT_EQ(ledger_.MoveReady(nullptr, nullptr, &view), 0);
    long count = -1;
    EXPECT_EQ(ledger_.GetCount(nullptr, &view, &count), 0);
    EXPECT_EQ(ledger_.SetMovePos(0), 0);
    std::vector<Posting> postings;
    StMOTOCHOINFO posting{};
    long status = ledger_.MoveFirst(&posting);
    for (; status == 0; status = ledger_.MoveNext(&posting))
      postings.push_back({posting.journalId, posting.lineNo, posting.side});
    EXPECT_EQ(status, kEndOfRows);
    EXPECT_EQ(count, static_cast<long>(postings.size()));
    ledger_.MoveFinish();
    return postings;
  }

  ClRuleMotocho ledger_;
};

TEST_F(LedgerCursorTest, AccountNumberTakesItsSubAccountsInDateJournalLineOrder) {
  // Journal 6 is dated before journal 1; journal 4 is a year-end adjustment inside the range;
  // journal 5 lies after the range; journal 3 has cash on both sides (sub-account credited).
  EXPECT_EQ(Read(1110000),
            (std::vector<Posting>{{6, 1, 2}, {1, 1, 2}, {2, 1, 2}, {2, 2, 1}, {3, 1, 3}, {4, 1, 1}}));
}

TEST_F(LedgerCursorTest, DateRangeIsInclusiveAtBothEnds) {
  EXPECT_EQ(Read(1110000, 20240415, 20240420), (std::vector<Posting>{{1, 1, 2}, {2, 1, 2}, {2, 2, 1}}));
  EXPECT_EQ(Read(1110000, 20250401, 20250401), (std::vector<Posting>{{5, 1, 2}}));
  EXPECT_TRUE(Read(1110000, 20240416, 20240419).empty());
}

TEST_F(LedgerCursorTest, TaxAccountsCarryTheTaxOfOtherAccountsLines) {
  // Paid tax: every line with a debit tax, on its debit side.
  EXPECT_EQ(Read(1550000), (std::vector<Posting>{{1, 1, 2}, {2, 2, 2}}));
  // Received tax: every line with a credit tax, on its credit side (journal 7 is the interim adjustment).
  EXPECT_EQ(Read(3350000), (std::vector<Posting>{{1, 1, 1}, {7, 1, 1}}));
  // An ordinary account gets only its own lines.
  EXPECT_EQ(Read(4110000), (std::vector<Posting>{{1, 1, 1}, {7, 1, 1}}));
}

TEST_F(LedgerCursorTest, TaxAccountsOwnLineKeepsItsOwnSide) {
  ClAccConnect::Inst().Terminate();
  // Journal 8 credits the paid-tax account itself and carries a debit tax: one posting, on
  // its own side. Journal 9 has the received-tax account on both sides.
  AddJournalRows(
      "INSERT INTO journals VALUES ('DEMO01', 8, 20240601, 0), ('DEMO01', 9, 20240602, 0);"
      "INSERT INTO journal_lines VALUES ('DEMO01', 8, 1, 1310000, 5, 9, 1550000, 5, 0, X'', 0),"
      "  ('DEMO01', 9, 1, 3350000, 5, 0, 3350000, 5, 7, X'', 0);");
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  EXPECT_EQ(Read(1550000), (std::vector<Posting>{{1, 1, 2}, {2, 2, 2}, {8, 1, 1}}));
  EXPECT_EQ(Read(3350000), (std::vector<Posting>{{1, 1, 1}, {9, 1, 3}, {7, 1, 1}}));
}

// The month code of a posting: the fiscal month of its date, 15 for the interim adjustment
// (journal 7), 18 for the year-end adjustment (journal 4). The standard data's months are
// calendar months from April, so April is 1 and March 12.
TEST_F(LedgerCursorTest, FindSelectsByMonthCode) {
  auto cond = [](int16_t comparison, int32_t value, int16_t link, int16_t valueType = 3) {
    StFINDCOND c{};
    c.item = 17;
    c.comparison = comparison;
    c.valueType = valueType;
    if (valueType == 2) {
      c.shortValue = static_cast<int16_t>(value);
    } else {
      c.longValue = value;
    }
    c.link = link;
    return c;
  };
  struct Case {
    const char* what;
    std::vector<StFINDCOND> conditions;
    int32_t account;
    std::vector<Posting> expected;
  };
  const std::vector<Case> cases = {
      {"no find", {}, 1310000, {{6, 1, 1}, {2, 1, 1}, {2, 2, 2}, {7, 1, 2}, {4, 1, 2}}},
      {"not the interim adjustment", {cond(2, 15, 0)}, 1310000, {{6, 1, 1}, {2, 1, 1}, {2, 2, 2}, {4, 1, 2}}},
      {"only the interim adjustment", {cond(1, 15, 0, 2)}, 1310000, {{7, 1, 2}}},
      {"months 2 to 12", {cond(4, 2, 1), cond(6, 12, 0)}, 1110000, {{3, 1, 3}}},
      {"month 1 or the year-end adjustment",
       {cond(4, 1, 1), cond(6, 1, 2), cond(1, 18, 0)},
       1110000,
       {{6, 1, 2}, {1, 1, 2}, {2, 1, 2}, {2, 2, 1}, {4, 1, 1}}},
      {"the program's month filter of a half year with the interim adjustment",
       {cond(4, 1, 1), cond(6, 6, 2), cond(1, 15, 0)},
       4110000,
       {{1, 1, 1}, {7, 1, 1}}},
  };
  for (const Case& c : cases) {
    StFINDINFO find{};
    for (std::size_t i = 0; i < c.conditions.size(); ++i) find.cond[i] = c.conditions[i];
    StMOTOCHOHYOJIINFO view{};
    view.accountCode = c.account;
    view.startDate = 20240401;
    view.endDate = 20250331;
    long count = -1;
    ASSERT_EQ(ledger_.MoveReady(&find, nullptr, &view), 0) << c.what;
    ASSERT_EQ(ledger_.GetCount(&find, &view, &count), 0) << c.what;
    std::vector<Posting> postings;
    StMOTOCHOINFO posting{};
    for (long status = ledger_.MoveFirst(&posting); status == 0; status = ledger_.MoveNext(&posting))
      postings.push_back({posting.journalId, posting.lineNo, posting.side});
    EXPECT_EQ(postings, c.expected) << c.what;
    EXPECT_EQ(count, static_cast<long>(c.expected.size())) << c.what;
  }
  // A condition on another field, or a comparison the host does not know, is refused.
  StFINDINFO other{};
  other.cond[0] = cond(1, 15, 0);
  other.cond[0].item = 9;
  StMOTOCHOHYOJIINFO view{};
  view.accountCode = 1110000;
  view.startDate = 20240401;
  view.endDate = 20250331;
  EXPECT_EQ(ledger_.MoveReady(&other, nullptr, &view), kNotReady);
  other.cond[0] = cond(3, 15, 0);
  EXPECT_EQ(ledger_.MoveReady(&other, nullptr, &view), kNotReady);
}

TEST_F(LedgerCursorTest, PostingCarriesTheJournalLineByteForByte) {
  StMOTOCHOHYOJIINFO view{};
  view.accountCode = 1110000;
  view.startDate = 20240415;
  view.endDate = 20240420;
  ASSERT_EQ(ledger_.MoveReady(nullptr, nullptr, &view), 0);
  StMOTOCHOINFO posting;
  std::memset(&posting, 0xEE, sizeof posting);
  ASSERT_EQ(ledger_.MoveFirst(&posting), 0);
  EXPECT_EQ(+posting.journalId, 1);
  EXPECT_EQ(+posting.lineNo, 1);
  EXPECT_EQ(+posting.date, 20240415);
  EXPECT_EQ(+posting.counterKind, 0);
  EXPECT_EQ(+posting.debitCode, 1110000);
  EXPECT_EQ(+posting.debitAmount, 10000000);
  EXPECT_EQ(+posting.debitTax, 1000000);
  EXPECT_EQ(+posting.creditCode, 4110000);
  EXPECT_EQ(+posting.creditAmount, 10000000);
  EXPECT_EQ(+posting.creditTax, 1000000);
  EXPECT_EQ(std::string(posting.description, 60), std::string("\x8c\xbb\x8b\xe0") + std::string(56, '\0'));
  ASSERT_EQ(ledger_.MoveNext(&posting), 0);
  ASSERT_EQ(ledger_.MoveNext(&posting), 0);
  EXPECT_EQ(+posting.counterKind, 34);
  EXPECT_EQ(+posting.debitTax, 200000);
}

TEST_F(LedgerCursorTest, OtherDataIsNotMixedIn) {
  ledger_.SetCurDataID("OTHER01");
  EXPECT_EQ(Read(1110000, 20240101, 20241231), (std::vector<Posting>{{1, 1, 2}}));
}

TEST_F(LedgerCursorTest, InjectedFaults) {
  StMOTOCHOHYOJIINFO view{};
  view.accountCode = 1110000;
  view.startDate = 20240401;
  view.endDate = 20250331;
  ASSERT_EQ(ledger_.MoveReady(nullptr, nullptr, &view), 0);
  long count = 0;
  platform::faults::Set("ClRuleMotocho::GetCount");
  EXPECT_EQ(ledger_.GetCount(nullptr, &view, &count), kStoreError);
  platform::faults::Set("ClRuleMotocho::MoveNext@1110000#2");
  StMOTOCHOINFO posting{};
  EXPECT_EQ(ledger_.MoveFirst(&posting), 0);
  EXPECT_EQ(ledger_.MoveNext(&posting), kStoreError);
}

TEST_F(LedgerCursorTest, JournalCursorGivesTheNamedJournalsLinesByLineNumber) {
  ClRuleShiwake journal;
  journal.SetCurDataID("DEMO01");
  StFINDINFO find{};
  find.cond[0].item = 6;
  find.cond[0].comparison = 1;
  find.cond[0].valueType = 3;
  find.cond[0].longValue = 2;
  ASSERT_EQ(journal.MoveReady(&find, nullptr, nullptr, 2), 0);
  long count = 0;
  ASSERT_EQ(journal.GetSwkCount(&find, nullptr, &count), 0);
  EXPECT_EQ(count, 2);
  StSWKTINFO line{};
  ASSERT_EQ(journal.MoveFirst(&line), 0);
  EXPECT_EQ(+line.lineNo, 1);
  EXPECT_EQ(+line.debitCode, 1110003);
  EXPECT_EQ(+line.counterKind, 18);
  ASSERT_EQ(journal.MoveNext(&line), 0);
  EXPECT_EQ(+line.lineNo, 2);
  EXPECT_EQ(+line.date, 20240420);
  EXPECT_EQ(+line.debitTax, 200000);
  EXPECT_EQ(std::string(line.description), "two");
  EXPECT_EQ(journal.MoveNext(&line), kEndOfRows);

  find.cond[0].longValue = 99;
  ASSERT_EQ(journal.MoveReady(&find, nullptr, nullptr, 2), 0);
  EXPECT_EQ(journal.MoveFirst(&line), kEndOfRows);

  find.cond[0].longValue = 2;
  ASSERT_EQ(journal.MoveReady(&find, nullptr, nullptr, 2), 0);
  platform::faults::Set("ClRuleShiwake::MoveNext@2#2");
  EXPECT_EQ(journal.MoveFirst(&line), 0);
  EXPECT_EQ(journal.MoveNext(&line), kStoreError);
}

}  // namespace
}  // namespace orbeck::test

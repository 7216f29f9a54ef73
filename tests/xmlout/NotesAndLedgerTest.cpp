// The notes list walked over the note table, and the general-ledger forms.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "XmlTestSupport.h"
#include "platform/Faults.h"
#include "runstate/EditionProfile.h"
#include "xmlout/NoteTable.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

namespace {

constexpr int64_t kYen = 10000;

class XmlNotesAndLedger : public ::testing::Test {
 protected:
  void SetUp() override {
    writer.statementLines = &lines;
    writer.noteLines = &noteLines;
    writer.noteDispFlags = flags;
    writer.notesPresent = 1;
  }
  // A saved note record: ID, two lines, Disp, Value, then the text lines.
  void AddNote(int32_t number, char disp, const std::vector<std::string>& textUtf8, bool withValue = true) {
    noteLines.push_back("<ID>" + std::to_string(number));
    noteLines.push_back("<Name>");
    noteLines.push_back("<Kind>");
    noteLines.push_back(std::string("<Disp>") + disp);
    noteLines.push_back(withValue ? "<Value>" : "<Other>");
    for (const std::string& text : textUtf8) noteLines.push_back(Cp932(text));
    noteLines.push_back("</Value>");
  }
  std::string Run(int expectedResult = 1) {
    int result = -1;
    std::string bytes = Capture([&](XmlElementWriter& xml) { return writer.WriteNotesList(xml); }, &result);
    EXPECT_EQ(expectedResult, result);
    return bytes;
  }

  StatementLineList lines;
  std::vector<std::string> noteLines;
  uint8_t flags[50] = {};
  StatementWriter writer{kVelmora1};
};

// The notes as the saved notes number them: per run its section, its first note number and
// its names with their levels; the numbers of a run grow by 10.
// clang-format off
constexpr const char* kNoteRuns[] = {
    "0 1000010: NotesGoingConcernAssumption 3",
    "1 1010010: NotesSignificantAccountingPolicy 3, ValuationBasisValuationMethodAssets 4, ValuationBasisValuationMethodMarketableSecurities 5, ValuationBasisValuationMethodInventories 5, DepreciationMethodFixedAssets 4, RecordingBasisReserves 4, RecordingBasisRevenueExpense 4, OtherSignificantMattersFundamentalsPreparingFinancialStatements 4, InclusionInterestExpenseAcquisitionCost 5, SignificantAccountingPoliciesOther 5, SignificantAccountingPoliciesItemName 6, SignificantAccountingPoliciesDescription 6",
    "1 1020010: ChangesAccountingPrincipleProcedure 4",
    "1 1030010: ChangesPresentation 4",
    "2 1060010: NoteBalanceSheet 3, PledgedAssets 4, AllowanceDoubtfulAccountsDeductedDirectlyAssets 4, AllowanceDoubtfulAccountsDeductedDirectlyCurrentAssets 5, AllowanceDoubtfulAccountsDeductedDirectlyLongTermInvestments 5, DepreciationTangibleAssets 4, AmountGuaranties 4, AmountNotesReceivableDiscounted 4, AmountNotesReceivableEndorsed 4, MaterialCompensationObligationDamageLitigation 4, CircumstanceDoubtfulLoan 4, DishonoredNotesNotesPayable 4",
    "2 1060130: MonetaryReceivablesPayablesAffiliates 4, MonetaryReceivablesPayablesAffiliatesDetails 5, MonetaryReceivablesPayablesAffiliatesAccountName 6, MonetaryReceivablesPayablesAffiliatesAmount 6, MonetaryReceivablesPayablesDirectors 4, MonetaryReceivablesDirectors 5, MonetaryPayablesDirectors 5, ParentCompanySecuritiesMarketableSecurities 4, RecoverableInventoriesEtc 4, SignificantOwnershipReservedAssets 4, RevaluationLandBusiness 4, RevenueReserveSpecialLaw 4",
    "2 1060250: AdvancedDepreciation 4, NotesReceivablesNotesPayablesMaturedAtClosingDate 4, AccountingMethodNotesReceivablesNotesPayablesMaturedClosingDate 5, NotesReceivablesNotesPayablesMaturedAtClosingDateNotesReceivables 5, NotesReceivablesNotesPayablesMaturedAtClosingDateNotesPayables 5, AccountingMethodConsumptionTaxes 4, OthersNotesBalanceSheet 4, OthersNotesBalanceSheetItemName 5, OthersNotesBalanceSheetDescription 5",
    "3 1070010: NoteIncomeStatement 3, TransactionsAffiliates 4, SalesAffiliates 5, PurchaseAffiliates 5, OtherOperatingTransactionsAffiliates 5, NonoperatingTransactionsAffiliates 5, ValuationLossDeductedClosingInventories 4, ValuationLossDeductedClosingInventoriesDetails 5, ValuationLossDeductedClosingInventoriesItemName 6, ValuationLossDeductedClosingInventoriesAmount 6, IncomeTaxesPastYear 4, OtherNotesIncomeStatement 4",
    "3 1070130: OtherNotesIncomeStatementItemName 5, OtherNotesIncomeStatementDescription 5",
    "4 1080010: NotesStatementChangesNetAssets 3, MattersTypesTotalNumberSharesIssued 4, SharesIssued 5, IssuanceNewOrdinaryShares 6, NumberSharesIssuanceNewOrdinaryShares-P 7, NumberSharesIncreasedDuringPeriodIssuanceNewOrdinaryShares 7, NumberSharesDecreasedDuringPeriodIssuanceNewOrdinaryShares 7, NumberSharesIssuanceNewOrdinaryShares 7, RemarksIssuanceNewOrdinaryShares 7, IssuanceNewPreferenceShares 6, NumberSharesEndPreviousPeriodIssuanceNewPreferenceShares-P 7, NumberSharesIncreasedDuringPeriodIssuanceNewPreferenceShares 7",
    "4 1080130: NumberSharesDecreasedDuringPeriodIssuanceNewPreferenceShares 7, NumberSharesEndPreviousPeriodIssuanceNewPreferenceShares 7, RemarksIssuanceNewPreferenceShares 7, TotalSharesIssued 6, NumberSharesEndPreviousPeriodTotalSharesIssued-P 7, NumberSharesIncreasedDuringPeriodTotalSharesIssued 7, NumberSharesDecreasedDuringPeriodTotalSharesIssued 7, NumberSharesEndPreviousPeriodTotalSharesIssued 7, RemarksTotalSharesIssued 7, MattersTypesTotalNumberTreasuryStock 4, TreasuryStockTypesTotalNumber 5, TreasuryOrdinaryShares 6",
    "4 1080250: NumberSharesTreasuryOrdinaryShares-P 7, NumberSharesIncreasedDuringPeriodTreasuryOrdinaryShares 7, NumberSharesDecreasedDuringPeriodTreasuryOrdinaryShares 7, NumberSharesTreasuryOrdinaryShares 7, RemarksTreasuryOrdinaryShares 7, TotalTreasuryOrdinaryShares 6, NumberSharesTotalTreasuryOrdinaryShares-P 7, NumberSharesIncreasedDuringPeriodTotalTreasuryOrdinaryShares 7, NumberSharesDecreasedDuringPeriodTotalTreasuryOrdinaryShares 7, NumberSharesTotalTreasuryOrdinaryShares 7, RemarksTotalTreasuryOrdinaryShares 7, MattersSubscriptionRightsSharesTreasurySubscriptionRightsShares 4",
    "4 1080370: BreakdownSubscriptionRightsShares 5, TypeStocksPurposeSubscriptionRightsShares 6, NumberSharesPurposeSubscriptionRightsShares 6, NumberSharesEndPreviousPeriodSubscriptionRightsShares-P 7, NumberSharesIncreasedDuringPeriodSubscriptionRightsShares 7, NumberSharesDecreasedDuringPeriodSubscriptionRightsShares 7, NumberSharesEndPreviousPeriodSubscriptionRightsShares 7, SubscriptionRightsSharesBalanceEndCurrentPeriod 6, RemarksSubscriptionRightsShares 6, MattersTreasurySubscriptionRightsShares 5, TypeStocksPurposeTreasurySubscriptionRightsShares 6, NumberSharesPurposeTreasurySubscriptionRightsShares 6",
    "4 1080490: TreasurySubscriptionRightsSharesBalanceEndCurrentPeriod 6, MattersDividends 4, InCaseCashDividend 5, ItemsCashDividendTypeStocks 6, TypeStocksCashDividend 7, ResolutionCashDividend 7, TotalDividendCashDividend 7, DividendsPerShareCashDividend 7, RecordDateCashDividend 7, EffectiveDateCashDividend 7, InCasePropertyDividend 5, ItemsPropertyDividendTypeStocks 6",
    "4 1080610: TypeStocksPropertyDividend 7, ResolutionPropertyDividend 7, TypeDividendProperty 7, BookValueDividendProperty 7, DividendsPerSharePropertyDividend 7, RecordDatePropertyDividend 7, EffectiveDatePropertyDividend 7, DividendsWhichEffectiveDatesAreAfterPeriodDividendsWhichRecordDatesArePeriod 5, FundsDividendAfterPeriod 6, InCaseCashDividendAfterPeriod 6, ItemsCashDividendAfterPeriodTypeStocks 7, TypeStocksCashDividendAfterPeriod 8",
    "4 1080730: ResolutionCashDividendAfterPeriod 8, TotalDividendCashDividendAfterPeriod 8, DividendsPerShareCashDividendAfterPeriod 8, RecordDateCashDividendAfterPeriod 8, EffectiveDateCashDividendAfterPeriod 8, InCasePropertyDividendAfterPeriod 6, ItemsPropertyDividendAfterPeriodTypeStocks 7, TypeStocksPropertyDividendAfterPeriod 8, ResolutionPropertyDividendAfterPeriod 8, TypeDividendPropertyAfterPeriod 8, BookValueDividendPropertyAfterPeriod 8, DividendsPerSharePropertyDividendAfterPeriod 8",
    "4 1080850: RecordDatePropertyDividendAfterPeriod 8, EffectiveDatePropertyDividendAfterPeriod 8",
    "5 1090010: NotesTaxEffectAccounting 3, MajorCauseDeferredTaxAssets 4, MajorCauseDeferredTaxLiabilities 4",
    "6 1100010: NotesFixedAssetsUsingFinanceLease 3, EquivalentValueAcquisitionValueEndPeriod 4, EquivalentValueAccumulatedDepreciationEndPeriod 4, EquivalentValueUnexpiredLeasePaymentEndPeriod 4, OtherSignificantMattersLeasedAssets 4",
    "7 1130010: NotesRelatedPartyTransactions 3, BreakdownRelatedPartyTransactions 4, NameRelatedParty 5, RatioVotingRightsOwnedCompanyTotalVotingRightsOwnedAllShareholdersRelatedParty 5, RatioVotingRightsOwnedRelatedPartyTotalVotingRightsOwnedAllShareholdersCompany 5, RelationshipCompanyRelatedParty 5, DetailsTransactions 5, TransactionAmountTransactionType 5, ItemsTransactions 6, TransactionType 7, TransactionAmount 7, TransactionTermsDecisionPolicyTransactionTerms 5",
    "7 1130130: EndingBalancesMajorItemsReceivablesPayablesTransactions 5, ChangesTransactionTerms 5",
    "8 1140010: NotesPerShareInformation 3, NetAssetsPerShare 4, NetIncomeNetLossPerShare 4",
    "9 1150010: NotesMaterialSubsequentEvents 3",
    "10 1170010: ItemsOtherNotes 3, ItemNameOtherNotes 4, ItemDescriptionOtherNotes 4",
};
// clang-format on

struct ExpectedNote {
  int section;
  int32_t number;
  int level;
  std::string name;
};

std::vector<ExpectedNote> ExpandRuns() {
  std::vector<ExpectedNote> notes;
  for (const std::string line : kNoteRuns) {
    std::istringstream head(line.substr(0, line.find(':')));
    int section = 0;
    int32_t number = 0;
    head >> section >> number;
    std::istringstream items(line.substr(line.find(':') + 1));
    std::string item;
    while (std::getline(items, item, ',')) {
      std::istringstream fields(item);
      ExpectedNote note{section, number, 0, ""};
      fields >> note.name >> note.level;
      notes.push_back(note);
      number += 10;
    }
  }
  return notes;
}

const std::string kOpen = "\t\t<ListNotesNonConsolidated>\r\n";
const std::string kClose = "\t\t</ListNotesNonConsolidated>\r\n";

}  // namespace

TEST(XmlNoteTable, NumbersLevelsAndNestingAreConsistent) {
  std::set<int32_t> numbers;
  for (std::size_t i = 0; i < kNoteTable.size(); ++i) {
    const NoteEntry& entry = kNoteTable[i];
    EXPECT_TRUE(numbers.insert(entry.noteNumber).second) << entry.noteNumber;
    EXPECT_GE(entry.level, 3) << entry.name;
    EXPECT_LE(entry.level, 8) << entry.name;
    if (i == 0) continue;
    // A level deepens by one at most; a new section starts at level 3.
    EXPECT_LE(kNoteTable[i].level, kNoteTable[i - 1].level + 1) << entry.name;
    if (entry.section != kNoteTable[i - 1].section) {
      EXPECT_EQ(3, entry.level) << entry.name;
    }
  }
  EXPECT_EQ(1000010, kNoteTable.front().noteNumber);
  EXPECT_STREQ("ItemDescriptionOtherNotes", kNoteTable.back().name);
  EXPECT_EQ(1170030, kNoteTable.back().noteNumber);
  EXPECT_STREQ("EffectiveDatePropertyDividendAfterPeriod", kNoteTable[147].name);
  EXPECT_EQ(1080860, kNoteTable[147].noteNumber);
  EXPECT_EQ(8, kNoteTable[147].level);
  EXPECT_STREQ("NumberSharesIssuanceNewOrdinaryShares-P", kNoteTable[66].name);
}

TEST(XmlNoteTable, EveryEntryAsTheSavedNotesListThem) {
  const std::vector<ExpectedNote> expected = ExpandRuns();
  ASSERT_EQ(177u, expected.size());
  ASSERT_EQ(expected.size(), kNoteTable.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].section, kNoteTable[i].section) << i << " " << expected[i].name;
    EXPECT_EQ(expected[i].number, kNoteTable[i].noteNumber) << i << " " << expected[i].name;
    EXPECT_EQ(expected[i].level, kNoteTable[i].level) << i << " " << expected[i].name;
    EXPECT_EQ(expected[i].name, std::string(kNoteTable[i].name)) << i;
  }
}

TEST_F(XmlNotesAndLedger, NothingDisplayedGivesAnEmptyList) {
  AddNote(1000010, '0', {"<Line>a</Line>"});
  flags[0] = 1;
  EXPECT_TRUE(SameBytes(kOpen + kClose, Run()));
}

TEST_F(XmlNotesAndLedger, BothTheDispCharacterAndTheSectionByteAreNeeded) {
  AddNote(1000010, '1', {"<Line>going</Line>"});
  AddNote(1150010, '0', {"<Line>events</Line>"});
  flags[9] = 1;
  EXPECT_TRUE(SameBytes(kOpen + kClose, Run()));
  flags[0] = 1;
  EXPECT_TRUE(SameBytes(kOpen +
                            "\t\t\t<NotesGoingConcernAssumption>\r\n\t\t\t\t<Line>going</Line>\r\n"
                            "\t\t\t</NotesGoingConcernAssumption>\r\n" +
                            kClose,
                        Run()));
}

TEST_F(XmlNotesAndLedger, ChildNotesNestAfterTheParentsLinesWithEscapesAndEmptyLines) {
  AddNote(1060010, '1', {"<Line>A&B</Line>", "<Line></Line>"});
  AddNote(1060020, '1', {"<Line>担保</Line>", "<Line>x</Line></Line>y"});
  flags[2] = 1;
  EXPECT_TRUE(SameBytes(
      kOpen +
          Lines({"\t\t\t<NoteBalanceSheet>", "\t\t\t\t<Line>A&amp;B</Line>", "\t\t\t\t<Line></Line>",
                 "\t\t\t\t<PledgedAssets>", "\t\t\t\t\t<Line>" + Cp932("担保") + "</Line>",
                 "\t\t\t\t\t<Line>xy</Line>", "\t\t\t\t</PledgedAssets>", "\t\t\t</NoteBalanceSheet>"}) +
          kClose,
      Run()));
}

TEST_F(XmlNotesAndLedger, AMissingValueLineGivesAnElementWithoutLines) {
  AddNote(1090010, '1', {"<Line>not read</Line>"}, false);
  flags[5] = 1;
  EXPECT_TRUE(SameBytes(kOpen +
                            "\t\t\t<NotesTaxEffectAccounting>\r\n"
                            "\t\t\t</NotesTaxEffectAccounting>\r\n" +
                            kClose,
                        Run()));
}

TEST_F(XmlNotesAndLedger, TextLinesEndAtTheFirstLineWithoutTheLineMarker) {
  AddNote(1140010, '1', {"<Line>one", "plain", "<Line>two</Line>"});
  flags[8] = 1;
  EXPECT_TRUE(SameBytes(kOpen +
                            "\t\t\t<NotesPerShareInformation>\r\n\t\t\t\t<Line>one</Line>\r\n"
                            "\t\t\t</NotesPerShareInformation>\r\n" +
                            kClose,
                        Run()));
}

TEST_F(XmlNotesAndLedger, ANoteLineLongerThanAnElementLineIsWrittenWhole) {
  const std::string text(300, 'x');
  AddNote(1150010, '1', {"<Line>" + text + "&</Line>"});
  flags[9] = 1;
  EXPECT_TRUE(
      SameBytes(kOpen +
                    Lines({"\t\t\t<NotesMaterialSubsequentEvents>", "\t\t\t\t<Line>" + text + "&amp;</Line>",
                           "\t\t\t</NotesMaterialSubsequentEvents>"}) +
                    kClose,
                Run()));
}

TEST_F(XmlNotesAndLedger, DisplayedNotesUnderANoteThatIsNotWrittenTakeItsPlace) {
  // NotesStatementChangesNetAssets (level 3) is not displayed, nor are MattersDividends
  // (level 4) and ItemsCashDividendTypeStocks (level 6); InCaseCashDividend (level 5), its
  // grandchild TypeStocksCashDividend (level 7) and MattersTypesTotalNumberSharesIssued
  // (level 4) are.
  AddNote(1080010, '0', {"<Line>parent</Line>"});
  AddNote(1080020, '1', {"<Line>shares</Line>"});
  AddNote(1080500, '0', {});
  AddNote(1080510, '1', {"<Line>cash</Line>"});
  AddNote(1080520, '0', {});
  AddNote(1080530, '1', {"<Line>stock</Line>"});
  flags[4] = 1;
  const std::string bytes = Run();
  EXPECT_TRUE(
      SameBytes(kOpen +
                    Lines({"\t\t\t\t<MattersTypesTotalNumberSharesIssued>", "\t\t\t\t\t<Line>shares</Line>",
                           "\t\t\t\t</MattersTypesTotalNumberSharesIssued>", "\t\t\t\t\t<InCaseCashDividend>",
                           "\t\t\t\t\t\t<Line>cash</Line>", "\t\t\t\t\t\t\t<TypeStocksCashDividend>",
                           "\t\t\t\t\t\t\t\t<Line>stock</Line>", "\t\t\t\t\t\t\t</TypeStocksCashDividend>",
                           "\t\t\t\t\t</InCaseCashDividend>"}) +
                    kClose,
                bytes));
  ASSERT_STREQ("MattersDividends", kNoteTable[111].name);
  ASSERT_EQ(1080500, kNoteTable[111].noteNumber);
  ASSERT_STREQ("TypeStocksCashDividend", kNoteTable[114].name);
  ASSERT_EQ(1080530, kNoteTable[114].noteNumber);
}

TEST_F(XmlNotesAndLedger, AFailedWriteInsideANestedNoteFailsTheList) {
  AddNote(1060010, '1', {"<Line>a</Line>"});
  AddNote(1060020, '1', {"<Line>b</Line>", "<Line>c</Line>"});
  flags[2] = 1;
  platform::faults::Set("FileWrite#5");
  const std::string bytes = Run(0);
  platform::faults::Clear();
  EXPECT_TRUE(SameBytes(
      kOpen + Lines({"\t\t\t<NoteBalanceSheet>", "\t\t\t\t<Line>a</Line>", "\t\t\t\t<PledgedAssets>"}),
      bytes));
}

TEST_F(XmlNotesAndLedger, LedgerFormsGroupRowsByAccountInStatementOrder) {
  lines = {
      MakeLine(0x80880800, "現金", 3 * kYen, 0, 1110000),
      MakeLine(0x80880400, "預金", 0, 0, 1120000),
      MakeLine(0x40884200, "(製)原価", -25000, 0, 5110000),
  };
  lines[0].openingAmount = 1 * kYen;
  LedgerLineList ledger(3);
  ledger[0].accountCode = 1110000;
  ledger[0].lineNo = 1;
  ledger[0].amount = 2 * kYen;
  ledger[0].balance = 3 * kYen;
  ledger[1].accountCode = 1110000;
  ledger[1].lineNo = -1;
  Cp932("＜A&B＞").copy(ledger[1].description, 60);
  ledger[2].accountCode = 5110000;
  ledger[2].lineNo = 2;
  Cp932("（本社）").copy(ledger[2].counterSubAccountName, 30);
  writer.ledgerLines = &ledger;

  auto row = [](const std::string& lineNo, const std::string& counterSub, const std::string& description,
                const std::string& amount, const std::string& balance) {
    return Lines({"\t\t\t\t<HJ00780S02>", "\t\t\t\t\t<HJ00780S0050>" + lineNo + "</HJ00780S0050>",
                  "\t\t\t\t\t<HJ00780S0060></HJ00780S0060>", "\t\t\t\t\t<HJ00780S0070></HJ00780S0070>",
                  "\t\t\t\t\t<HJ00780S0080></HJ00780S0080>",
                  "\t\t\t\t\t<HJ00780S0090>" + counterSub + "</HJ00780S0090>",
                  "\t\t\t\t\t<HJ00780S0100>" + description + "</HJ00780S0100>",
                  "\t\t\t\t\t<HJ00780S0110>" + amount + "</HJ00780S0110>",
                  "\t\t\t\t\t<HJ00780S0120>" + balance + "</HJ00780S0120>", "\t\t\t\t</HJ00780S02>"});
  };
  const std::string expected =
      "\t\t<HJ00780S>\r\n\t\t\t<HJ00780S01>\r\n\t\t\t\t<HJ00780S0010>" + Cp932("現金") +
      "</HJ00780S0010>\r\n\t\t\t\t<HJ00780S0020>" + Cp932("流動資産") +
      "</HJ00780S0020>\r\n\t\t\t\t<HJ00780S0030>1</HJ00780S0030>\r\n"
      "\t\t\t\t<HJ00780S0040>3</HJ00780S0040>\r\n" +
      row("1", "", "", "2", "3") + row("-1", "", Cp932("＜A&amp;B＞"), "0", "0") +
      "\t\t\t</HJ00780S01>\r\n\t\t\t<HJ00780S01>\r\n\t\t\t\t<HJ00780S0010>" + Cp932("原価") +
      "</HJ00780S0010>\r\n\t\t\t\t<HJ00780S0020>" + Cp932("売上原価") +
      "</HJ00780S0020>\r\n\t\t\t\t<HJ00780S0030>0</HJ00780S0030>\r\n"
      "\t\t\t\t<HJ00780S0040>-2</HJ00780S0040>\r\n" +
      row("2", Cp932("本社"), "", "0", "0") + "\t\t\t</HJ00780S01>\r\n\t\t</HJ00780S>\r\n";
  int result = -1;
  const std::string bytes =
      Capture([&](XmlElementWriter& xml) { return writer.WriteLedgerForms(xml); }, &result);
  EXPECT_EQ(1, result);
  EXPECT_TRUE(SameBytes(expected, bytes));
}

TEST_F(XmlNotesAndLedger, LedgerFormsAreLeftOutWithoutRecordsAndStopAtAnUnmatchedAccount) {
  EXPECT_TRUE(SameBytes("", Capture([&](XmlElementWriter& xml) { return writer.WriteLedgerForms(xml); })));
  lines = {MakeLine(0x00000005, "雑", 0, 0, 1)};
  LedgerLineList ledger(2);
  ledger[0].accountCode = 1;
  ledger[1].accountCode = 99;  // no statement line follows for it
  writer.ledgerLines = &ledger;
  int result = -1;
  const std::string bytes =
      Capture([&](XmlElementWriter& xml) { return writer.WriteLedgerForms(xml); }, &result);
  EXPECT_EQ(1, result);
  EXPECT_NE(std::string::npos, bytes.find("<HJ00780S0020></HJ00780S0020>"));
  std::size_t forms = 0;
  for (std::size_t at = bytes.find("<HJ00780S01>"); at != std::string::npos;
       at = bytes.find("<HJ00780S01>", at + 1)) {
    ++forms;
  }
  EXPECT_EQ(1u, forms);
}

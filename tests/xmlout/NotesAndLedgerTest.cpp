// The notes list walked over the note table, checked against a golden list written from the
// notes as the design lists them, and the general-ledger forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
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
    inputs.statementLines = &lines;
    inputs.noteLines = &noteLines;
    inputs.noteDispFlags = flags;
    inputs.notesPresent = 1;
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
  WriterInputs inputs;
  ReadFailure failure;
  StatementWriter writer{kVelmora1, inputs, failure};
};

// The notes of the golden list, whose one text line each holds its section and number
// ("s4 1080010"); the list was written by hand from the notes as the design lists them (per
// section its first number, its names and their levels), independently of the writer's table.
struct GoldenNote {
  int section;
  int32_t number;
};

std::vector<GoldenNote> NotesOf(const std::string& golden) {
  std::vector<GoldenNote> notes;
  const std::regex line("<Line>s([0-9]+) ([0-9]+)</Line>");
  for (auto it = std::sregex_iterator(golden.begin(), golden.end(), line); it != std::sregex_iterator();
       ++it) {
    notes.push_back({std::stoi((*it)[1]), std::stoi((*it)[2])});
  }
  return notes;
}

// The lines of the golden list's top-level notes (and their subtrees) of one section.
std::string SectionOf(const std::string& golden, int section) {
  std::istringstream lines(golden);
  std::string line, block, kept;
  const std::regex sectionLine("<Line>s([0-9]+) ");
  int blockSection = -1;
  while (std::getline(lines, line)) {
    line += '\n';
    const bool topLevel = line.rfind("\t\t\t<", 0) == 0;
    if (topLevel && line[4] != '/') {
      block.clear();
      blockSection = -1;
    }
    block += line;
    std::smatch match;
    if (blockSection < 0 && std::regex_search(line, match, sectionLine)) blockSection = std::stoi(match[1]);
    if (topLevel && line[4] == '/' && blockSection == section) kept += block;
  }
  return kept;
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
}

TEST_F(XmlNotesAndLedger, EveryNoteDisplayedGivesTheGoldenListAndEachSectionItsOwnNotes) {
  const std::string golden = velmora::test::WrittenForm("xmlout/notes_all_displayed.xml");
  const std::vector<GoldenNote> notes = NotesOf(golden);
  ASSERT_EQ(kNoteEntryCount, notes.size());
  int sections = 0;
  for (const GoldenNote& note : notes) {
    AddNote(note.number, '1',
            {"<Line>s" + std::to_string(note.section) + " " + std::to_string(note.number) + "</Line>"});
    sections = std::max(sections, note.section + 1);
  }
  for (int section = 0; section < sections; ++section) flags[section] = 1;
  EXPECT_TRUE(SameBytes(golden, Run()));

  for (int section = 0; section < sections; ++section) {
    for (int other = 0; other < sections; ++other) flags[other] = other == section ? 1 : 0;
    const std::string own = SectionOf(golden, section);
    EXPECT_FALSE(own.empty()) << "section " << section;
    EXPECT_TRUE(SameBytes(kOpen + own + kClose, Run())) << "section " << section;
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
  ledger[1].description = KeptText(ledger, "＜A&B＞");
  ledger[2].accountCode = 5110000;
  ledger[2].lineNo = 2;
  ledger[2].counterSubAccountName = KeptText(ledger, "（本社）");
  inputs.ledgerLines = &ledger;

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
  inputs.ledgerLines = &ledger;
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

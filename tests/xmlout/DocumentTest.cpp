// The whole document: frame, SYSTEM and BASIC sections, the order and conditions of the
// DATA subsections, the support file, and replacement of the output only on success.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "platform/ui/UiBackend.h"
#include "runstate/EditionProfile.h"
#include "runstate/ProgressWindow.h"
#include "tests/support/Process.h"
#include "xmlout/StatementWriter.h"

namespace {

constexpr int64_t kYen = 10000;

std::string GoldenBytes(const std::string& name) {
  const char* source = getenv("VELMORA_SOURCE_DIR");
  const std::string utf8 =
      ReadBytes(std::string(source != nullptr ? source : ".") + "/tests/data/xmlout/" + name);
  std::string withCrLf;
  for (const char c : utf8) {
    if (c == '\n') withCrLf += '\r';
    withCrLf += c;
  }
  return Sjis(withCrLf);
}

LedgerLine MakeLedger(int32_t account, int32_t lineNo, const char* date, const char* sub, const char* counter,
                      const char* description, int64_t amount, int64_t balance) {
  LedgerLine row;
  row.accountCode = account;
  row.lineNo = lineNo;
  Sjis(date).copy(row.dateText, 30);
  Sjis(sub).copy(row.subAccountName, 30);
  Sjis(counter).copy(row.counterAccountName, 30);
  Sjis(description).copy(row.description, 60);
  row.amount = amount;
  row.balance = balance;
  return row;
}

class XmlDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&profile, 0, sizeof profile);
    Sjis("ABC商事ｶﾌﾞ").copy(profile.companyName, 259);
    profile.periodStart = 20250401;
    profile.periodEnd = 20260331;
    previousFolder = platform::win::_getcwd();
    ASSERT_TRUE(platform::win::_chdir(folder.Windows("")));
    writer.statementLines = &lines;
    writer.ledgerLines = &ledger;
    writer.noteLines = &notes;
    writer.noteDispFlags = flags;
  }
  void TearDown() override {
    // Every document a test leaves behind must be well-formed XML.
    // Under Wine xmllint cannot be started; the Linux build checks the same bytes.
    if (velmora::test::kHasUnixTools && Output().starts_with("<?xml")) {
      EXPECT_TRUE(WellFormed(folder.LinuxPath("out.xml")));
    }
    platform::win::_chdir(previousFolder);
    platform::faults::Clear();
  }

  // The data of the reference document: every kind of statement element, a statement of
  // changes with net income, a nested note and two ledger forms.
  // Amounts that add up as the host's totals do (fractions of a yen included), so that the
  // reference document also holds together for velmora-inspect.
  void FillReferenceData() {
    profile.patternFlag = 1;
    lines = {
        MakeLine(0x80800000, "資産の部", 500300 * kYen + 1214567, 2),
        MakeLine(0x80880000, "流動資産合計", 1214567, 2),
        MakeLine(0x80880800, "現金", 1234567, 0, 1110000),
        MakeLine(0x80880400, "【普通預金】", 5000),
        MakeLine(0x80880400, "売掛金 ", -25000, 3),
        MakeLine(0x80840000, "固定資産合計", 500300 * kYen, 2),
        MakeLine(0x80848000, "有形固定資産合計", 500000 * kYen, 2),
        MakeLine(0x80848400, "建物", 500000 * kYen),
        MakeLine(0x80840008, "長期前払費用", 300 * kYen),
        MakeLine(0x80400000, "負債の部合計", 200 * kYen, 2),
        MakeLine(0x80480400, "未払金", 200 * kYen, 0, 3110000),
        MakeLine(0x80200000, "純資産の部合計", 500221 * kYen, 2),
        MakeLine(0x80288000, "資本金", 500071 * kYen),
        MakeLine(0x80281048, "繰越利益剰余金", 150 * kYen),
        MakeLine(0x40888000, "売上高合計", 1000 * kYen, 2),
        MakeLine(0x40888400, "売上高", 1000 * kYen),
        MakeLine(0x40884200, "(製)製品製造原価", 600 * kYen, 3),
        MakeLine(0x40880008, "売上総利益", 400 * kYen, 2),
        MakeLine(0x40800000, "経常利益", 400 * kYen, 2),
        MakeLine(0x40200080, "税引前当期純利益", 400 * kYen, 2),
        MakeLine(0x40200100, "法人税等", 350 * kYen),
        MakeLine(0x40200040, "当期純利益", 50 * kYen, 2),
        MakeLine(0x20800400, "(製)材料費", 600 * kYen),
        MakeLine(0x20040400, "外注費", 100 * kYen),
        MakeLine(0x20080000, "当期総製造費用", 600 * kYen, 2),
    };
    Sjis("売上総損益").copy(lines[17].altName, 30);
    lines[12].openingAmount = 500071 * kYen;
    lines[13].openingAmount = 100 * kYen;
    lines[13].periodAmount = 50 * kYen;
    lines[21].periodAmount = 50 * kYen;

    writer.notesPresent = 1;
    flags[2] = 1;
    for (const char* line :
         {"<ID>1060010", "<Name>x", "<Kind>0", "<Disp>1", "<Value>", "<Line>担保資産 A&B</Line>", "</Value>",
          "<ID>1060020", "<Name>y", "<Kind>0", "<Disp>1", "<Value>", "<Line>建物 500,000円</Line>",
          "<Line></Line>", "</Value>"}) {
      notes.push_back(Sjis(line));
    }
    ledger = {
        MakeLedger(1110000, 1, "令和7年4月1日", "", "売上高", "売上 A社", 1000 * kYen, 1000 * kYen),
        MakeLedger(1110000, 2, "令和7年4月2日", "", "諸口", "入金", -5005000, 4995000),
        MakeLedger(3110000, 1, "令和7年4月3日", "【本社】", "現金", "支払", 200 * kYen, 200 * kYen),
    };
  }

  std::string Output() const { return ReadBytes(folder.LinuxPath("out.xml")); }
  bool NoTemporaryLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder.LinuxPath(""))) {
      if (entry.path().filename().string().starts_with("~vm")) return false;
    }
    return true;
  }
  int Write(int16_t functionId = 3) {
    return writer.WriteDocument(folder.Windows("out.xml"), functionId, profile);
  }

  TempFolder folder;
  std::string previousFolder;
  StDATAINFO profile{};
  StatementLineList lines;
  LedgerLineList ledger;
  std::vector<std::string> notes;
  uint8_t flags[50] = {};
  StatementWriter writer{kVelmora1};
};

// The DATA section of a document without any line, patternFlag zero.
const std::vector<std::string> kEmptyData = {
    "\t<DATA>",
    "\t\t<BalanceSheet>",
    "\t\t\t<Assets>",
    "\t\t\t\t<CurrentAssets>",
    "\t\t\t\t</CurrentAssets>",
    "\t\t\t\t<NoncurrentAssets>",
    "\t\t\t\t\t<PropertyPlantAndEquipment>",
    "\t\t\t\t\t</PropertyPlantAndEquipment>",
    "\t\t\t\t\t<IntangibleAssets>",
    "\t\t\t\t\t</IntangibleAssets>",
    "\t\t\t\t\t<InvestmentsAndOtherAssets>",
    "\t\t\t\t\t</InvestmentsAndOtherAssets>",
    "\t\t\t\t</NoncurrentAssets>",
    "\t\t\t\t<DeferredAssets>",
    "\t\t\t\t</DeferredAssets>",
    "\t\t\t</Assets>",
    "\t\t\t<Liabilities>",
    "\t\t\t\t<CurrentLiabilities>",
    "\t\t\t\t</CurrentLiabilities>",
    "\t\t\t\t<NoncurrentLiabilities>",
    "\t\t\t\t</NoncurrentLiabilities>",
    "\t\t\t</Liabilities>",
    "\t\t\t<NetAssets>",
    "\t\t\t</NetAssets>",
    "\t\t</BalanceSheet>",
    "\t\t<IncomeStatement>",
    "\t\t\t<NetSales>",
    "\t\t\t</NetSales>",
    "\t\t\t<CostOfSales>",
    "\t\t\t</CostOfSales>",
    "\t\t\t<SellingGeneralAndAdministrativeExpenses>",
    "\t\t\t</SellingGeneralAndAdministrativeExpenses>",
    "\t\t\t<NonOperatingIncome>",
    "\t\t\t</NonOperatingIncome>",
    "\t\t\t<NonOperatingExpenses>",
    "\t\t\t</NonOperatingExpenses>",
    "\t\t\t<ExtraordinaryIncome>",
    "\t\t\t</ExtraordinaryIncome>",
    "\t\t\t<ExtraordinaryLoss>",
    "\t\t\t</ExtraordinaryLoss>",
    "\t\t\t<IncomeTaxes>",
    "\t\t\t</IncomeTaxes>",
    "\t\t</IncomeStatement>",
    "\t\t<StatementChangesNetAssets>",
    "\t\t\t<Select>1</Select>",
    "\t\t</StatementChangesNetAssets>",
    "\t</DATA>",
};

std::string Section(const std::string& document, const std::string& open, const std::string& close) {
  const std::size_t from = document.find(open);
  const std::size_t to = document.find(close, from);
  if (from == std::string::npos || to == std::string::npos) return "<missing>";
  return document.substr(from, to + close.size() - from);
}

}  // namespace

TEST_F(XmlDocument, ReferenceDataGivesTheReferenceDocument) {
  FillReferenceData();
  ASSERT_EQ(1, Write());
  EXPECT_TRUE(SameBytes(GoldenBytes("full_document.xml"), Output()));
  if (velmora::test::kHasUnixTools) {
    EXPECT_TRUE(WellFormed(folder.LinuxPath("out.xml")));
  }
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, EmptyDataGivesTheFrameAndEmptyStatements) {
  ASSERT_EQ(1, Write(-2));
  std::vector<std::string> expected = {
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>",
      "<REPORT>",
      "\t<SYSTEM>",
      "\t\t<GYOUMUPREFIX>RC25</GYOUMUPREFIX>",
      "\t\t<VERSION>1</VERSION>",
      "\t\t<FUNCTIONID>-2</FUNCTIONID>",
      "\t\t<CONNECTEDPROGRAMVER>21.00.03</CONNECTEDPROGRAMVER>",
      "\t\t<PROGRAMNAME>Orbeck" + Sjis("２１") + "</PROGRAMNAME>",
      "\t\t<PROGRAMVER>21.00.0X</PROGRAMVER>",
      "\t</SYSTEM>",
      "\t<BASIC>",
      "\t\t<KOMONSAKINAME>" + Sjis("ＡＢＣ商事カブ") + "</KOMONSAKINAME>",
      "\t\t<JIGYOUNENDOFROM>20250401</JIGYOUNENDOFROM>",
      "\t\t<JIGYOUNENDOTO>20260331</JIGYOUNENDOTO>",
      "\t\t<PATTERN>",
      "\t\t\t<BS>",
      "\t\t\t\t<CA>",
      "\t\t\t\t\t<Doubtful>A2</Doubtful>",
      "\t\t\t\t</CA>",
      "\t\t\t\t<PPE>",
      "\t\t\t\t\t<DepImp>B4</DepImp>",
      "\t\t\t\t</PPE>",
      "\t\t\t\t<IOA>",
      "\t\t\t\t\t<Doubtful>C2</Doubtful>",
      "\t\t\t\t\t<DepImp>D4</DepImp>",
      "\t\t\t\t</IOA>",
      "\t\t\t</BS>",
      "\t\t\t<PL>",
      "\t\t\t\t<Sales>E3</Sales>",
      "\t\t\t\t<Cos>F1</Cos>",
      "\t\t\t\t<Sga>G1</Sga>",
      "\t\t\t</PL>",
      "\t\t</PATTERN>",
      "\t</BASIC>",
  };
  expected.insert(expected.end(), kEmptyData.begin(), kEmptyData.end());
  expected.push_back("</REPORT>");
  EXPECT_TRUE(SameBytes(Lines(expected), Output()));
}

TEST_F(XmlDocument, SupportFileValuesReplaceTheFallbacks) {
  // The version line ends at the end-of-file mark; the name line at its CR LF.
  WriteBytes(folder.LinuxPath("SUPPORT.INF"),
             Sjis("[=会社名=]X\r\n[=製品名=]Foo & Bar\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]21.00.05\x1Atrail"));
  ASSERT_EQ(1, Write());
  const std::string system = Section(Output(), "<PROGRAMNAME>", "</PROGRAMVER>\r\n");
  EXPECT_TRUE(SameBytes(
      "<PROGRAMNAME>Foo &amp; Bar</PROGRAMNAME>\r\n\t\t<PROGRAMVER>21.00.05</PROGRAMVER>\r\n", system));
}

TEST_F(XmlDocument, AMarkerWithoutTextOrAValueAtTheEndOfTheDataAreHandled) {
  WriteBytes(folder.LinuxPath("SUPPORT.INF"), Sjis("[=製品名=]\r\nx\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]9.9"));
  ASSERT_EQ(1, Write());
  const std::string system = Section(Output(), "<PROGRAMNAME>", "</PROGRAMVER>\r\n");
  EXPECT_TRUE(SameBytes(
      "<PROGRAMNAME>Orbeck" + Sjis("２１") + "</PROGRAMNAME>\r\n\t\t<PROGRAMVER>9.9</PROGRAMVER>\r\n",
      system));
}

TEST_F(XmlDocument, ASupportValueLongerThanALineIsWrittenWhole) {
  const std::string longName(400, 'n');
  WriteBytes(folder.LinuxPath("SUPPORT.INF"), Sjis("[=製品名=]") + longName + "\r\n");
  ASSERT_EQ(1, Write());
  EXPECT_TRUE(SameBytes("<PROGRAMNAME>" + longName + "</PROGRAMNAME>\r\n",
                        Section(Output(), "<PROGRAMNAME>", "</PROGRAMNAME>\r\n")));
}

TEST_F(XmlDocument, EditionFallbackNameIsTheEditionsOwn) {
  StatementWriter care(kVelmora3);
  ASSERT_EQ(1, care.WriteDocument(folder.Windows("out.xml"), 1, profile));
  EXPECT_TRUE(SameBytes("<PROGRAMNAME>" + Sjis("Orbeck２１ ハルモア") + "</PROGRAMNAME>\r\n",
                        Section(Output(), "<PROGRAMNAME>", "</PROGRAMNAME>\r\n")));
}

TEST_F(XmlDocument, LongCompanyNamesAreCutAtACharacterBoundaryWithin63Bytes) {
  // 32 double-byte characters (64 bytes): the 63-byte cut would split the last one.
  std::string name;
  for (int i = 0; i < 32; ++i) name += "商";
  std::memset(profile.companyName, 0, sizeof profile.companyName);
  Sjis(name).copy(profile.companyName, 259);
  ASSERT_EQ(1, Write());
  std::string cut;
  for (int i = 0; i < 31; ++i) cut += "商";
  EXPECT_TRUE(SameBytes("<KOMONSAKINAME>" + Sjis(cut) + "</KOMONSAKINAME>\r\n",
                        Section(Output(), "<KOMONSAKINAME>", "</KOMONSAKINAME>\r\n")));

  // 31 half-width letters become 62 bytes, within the limit and kept whole.
  std::memset(profile.companyName, 0, sizeof profile.companyName);
  std::memset(profile.companyName, 'a', 31);
  ASSERT_EQ(1, Write());
  std::string wide;
  for (int i = 0; i < 31; ++i) wide += "ａ";
  EXPECT_TRUE(SameBytes("<KOMONSAKINAME>" + Sjis(wide) + "</KOMONSAKINAME>\r\n",
                        Section(Output(), "<KOMONSAKINAME>", "</KOMONSAKINAME>\r\n")));
}

TEST_F(XmlDocument, ManufacturingScheduleFollowsTheIncomeStatementOnlyWithPatternFlag) {
  ASSERT_EQ(1, Write());
  EXPECT_EQ(std::string::npos, Output().find("ScheduleCostGoodsManufactured"));
  EXPECT_NE(std::string::npos, Output().find("<Cos>F1</Cos>"));

  profile.patternFlag = 7;
  ASSERT_EQ(1, Write());
  const std::string document = Output();
  EXPECT_NE(std::string::npos, document.find("<Cos>F3</Cos>"));
  EXPECT_NE(std::string::npos,
            document.find("\t\t</IncomeStatement>\r\n\t\t<ScheduleCostGoodsManufactured>\r\n"));
  EXPECT_NE(std::string::npos,
            document.find("\t\t</ScheduleCostGoodsManufactured>\r\n\t\t<StatementChangesNetAssets>\r\n"));
}

TEST_F(XmlDocument, NotesListOnlyWhenNotesArePresent) {
  ASSERT_EQ(1, Write());
  EXPECT_EQ(std::string::npos, Output().find("ListNotesNonConsolidated"));
  writer.notesPresent = 1;
  ASSERT_EQ(1, Write());
  EXPECT_NE(std::string::npos,
            Output().find("\t\t</StatementChangesNetAssets>\r\n\t\t<ListNotesNonConsolidated>\r\n"
                          "\t\t</ListNotesNonConsolidated>\r\n\t</DATA>\r\n"));
}

TEST_F(XmlDocument, AFolderThatDoesNotExistFailsTheDocument) {
  EXPECT_EQ(0, writer.WriteDocument(folder.Windows("missing\\out.xml"), 3, profile));
  EXPECT_FALSE(platform::win::PathFileExistsA(folder.Windows("missing")));
}

TEST_F(XmlDocument, AFailedWriteLeavesTheEarlierFileUntouched) {
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("FileWrite#20");
  EXPECT_EQ(0, Write());
  platform::faults::Clear();
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, AFailedLastLineFailsTheDocument) {
  ASSERT_EQ(1, Write());
  const std::string complete = Output();
  std::size_t lineCount = 0;
  for (std::size_t at = complete.find("\r\n"); at != std::string::npos; at = complete.find("\r\n", at + 2)) {
    ++lineCount;
  }
  // The closing root tag is the last line.
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("FileWrite#" + std::to_string(lineCount));
  EXPECT_EQ(0, Write());
  EXPECT_TRUE(SameBytes("earlier", Output()));
  platform::faults::Set("FileWrite#" + std::to_string(lineCount + 1));
  EXPECT_EQ(1, Write());
  EXPECT_TRUE(SameBytes(complete, Output()));
}

TEST_F(XmlDocument, BytesThatNeverReachTheDiskFailTheDocument) {
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("FileFlush");
  EXPECT_EQ(0, Write());
  platform::faults::Clear();
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, AFailedReplacementKeepsTheEarlierFile) {
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("MoveFileReplace");
  EXPECT_EQ(0, Write());
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, OutOfMemoryForTheSupportFileShowsItsBoxAndFailsTheDocument) {
  WriteBytes(folder.LinuxPath("SUPPORT.INF"), Sjis("[=製品名=]Foo\r\n"));
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  std::vector<RecordedBox> boxes;
  platform::SetUi(std::make_unique<BoxRecorder>(boxes));
  writer.messageOwner = 5;
  platform::faults::Set("SupportInfoAlloc");
  ASSERT_EQ(0, Write());
  platform::SetUi(nullptr);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(Sjis("ﾒﾓﾘが不足しています。"), boxes[0].text);
  EXPECT_EQ("Velmora1", boxes[0].caption);
  EXPECT_EQ(0u, boxes[0].type);
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, AnyNameTheFileSystemTakesFitsItsTemporaryFile) {
  const std::string longest = std::string(251, 'a') + ".xml";  // 255 bytes
  ASSERT_EQ(1, writer.WriteDocument(folder.Windows(longest), 3, profile));
  EXPECT_TRUE(ReadBytes(folder.LinuxPath(longest)).starts_with("<?xml"));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, LinksAtTheOutputOrBesideItAreNeverFollowed) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine makes no symbolic links (docs/testing.md)";
#endif
  WriteBytes(folder.LinuxPath("victim"), "victim");
  std::filesystem::create_symlink(folder.LinuxPath("victim"), folder.LinuxPath("out.xml.part"));
  std::filesystem::create_symlink(folder.LinuxPath("victim"), folder.LinuxPath("out.xml"));
  ASSERT_EQ(1, Write());
  EXPECT_EQ("victim", ReadBytes(folder.LinuxPath("victim")));
  EXPECT_FALSE(std::filesystem::is_symlink(folder.LinuxPath("out.xml")));
  EXPECT_TRUE(Output().starts_with("<?xml"));
}

namespace {

// Counts the repaints of the progress window: six per Pulse, seven per main-bar step.
class RepaintCounter : public platform::UiBackend {
 public:
  explicit RepaintCounter(long& repaints) : repaints_(repaints) {}
  void RunModal(platform::CDialog&) override {}
  int MessageBox(platform::HWND, const std::string&, const std::string&, unsigned) override {
    return platform::IDOK;
  }
  platform::SaveFileAnswer SaveFileDialog(const platform::FileDialogRequest&, std::string&) override {
    return platform::SaveFileAnswer::Cancelled;
  }
  void Repaint(platform::CDialog&) override { ++repaints_; }

 private:
  long& repaints_;
};

}  // namespace

TEST_F(XmlDocument, ProgressPulsesOncePerElementOfTheHeadAndStepsThreeRangesToTheEnd) {
  long repaints = 0;
  platform::SetUi(std::make_unique<RepaintCounter>(repaints));
  ProgressWindow window;
  ASSERT_TRUE(window.Create());
  window.InitMainBar();
  window.StepRange(1, 5000);
  repaints = 0;
  writer.progress = &window;
  writer.progressBase = 5000;
  ASSERT_EQ(1, Write());
  const long pulses = 1 + 6 + 1 + 4 + 1 + 1;
  const long steps = 1001 + 1001 + 3001;
  EXPECT_EQ(pulses * 6 + steps * 7, repaints);
  EXPECT_EQ(Sjis("集計中 100％"), window.GetWindowText());
  EXPECT_EQ(10000, window.MainPos());
  window.DestroyWindow();
  platform::SetUi(nullptr);
}

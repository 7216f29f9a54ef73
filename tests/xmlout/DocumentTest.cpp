// The whole document: frame, SYSTEM and BASIC sections, the order and conditions of the
// DATA subsections, the support file, and replacement of the output only on success.
#include <gtest/gtest.h>

#include "XmlDocumentFixture.h"

namespace {

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
      "\t\t<PROGRAMNAME>Orbeck" + Cp932("２１") + "</PROGRAMNAME>",
      "\t\t<PROGRAMVER>21.00.0X</PROGRAMVER>",
      "\t</SYSTEM>",
      "\t<BASIC>",
      "\t\t<KOMONSAKINAME>" + Cp932("ＡＢＣ商事カブ") + "</KOMONSAKINAME>",
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
             Cp932("[=会社名=]X\r\n[=製品名=]Foo & Bar\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]21.00.05\x1Atrail"));
  ASSERT_EQ(1, Write());
  const std::string system = Section(Output(), "<PROGRAMNAME>", "</PROGRAMVER>\r\n");
  EXPECT_TRUE(SameBytes(
      "<PROGRAMNAME>Foo &amp; Bar</PROGRAMNAME>\r\n\t\t<PROGRAMVER>21.00.05</PROGRAMVER>\r\n", system));
}

TEST_F(XmlDocument, AMarkerWithoutTextOrAValueAtTheEndOfTheDataAreHandled) {
  WriteBytes(folder.LinuxPath("SUPPORT.INF"), Cp932("[=製品名=]\r\nx\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]9.9"));
  ASSERT_EQ(1, Write());
  const std::string system = Section(Output(), "<PROGRAMNAME>", "</PROGRAMVER>\r\n");
  EXPECT_TRUE(SameBytes(
      "<PROGRAMNAME>Orbeck" + Cp932("２１") + "</PROGRAMNAME>\r\n\t\t<PROGRAMVER>9.9</PROGRAMVER>\r\n",
      system));
}

TEST_F(XmlDocument, ASupportValueLongerThanALineIsWrittenWhole) {
  const std::string longName(400, 'n');
  WriteBytes(folder.LinuxPath("SUPPORT.INF"), Cp932("[=製品名=]") + longName + "\r\n");
  ASSERT_EQ(1, Write());
  EXPECT_TRUE(SameBytes("<PROGRAMNAME>" + longName + "</PROGRAMNAME>\r\n",
                        Section(Output(), "<PROGRAMNAME>", "</PROGRAMNAME>\r\n")));
}

TEST_F(XmlDocument, EditionFallbackNameIsTheEditionsOwn) {
  StatementWriter care(kVelmora3, inputs, failure);
  ASSERT_EQ(1, care.WriteDocument(folder.Windows("out.xml"), 1, profile));
  EXPECT_TRUE(SameBytes("<PROGRAMNAME>" + Cp932("Orbeck２１ ハルモア") + "</PROGRAMNAME>\r\n",
                        Section(Output(), "<PROGRAMNAME>", "</PROGRAMNAME>\r\n")));
}

TEST_F(XmlDocument, LongCompanyNamesAreCutAtACharacterBoundaryWithin63Bytes) {
  // 32 double-byte characters (64 bytes): the 63-byte cut would split the last one.
  std::string name;
  for (int i = 0; i < 32; ++i) name += "商";
  std::memset(profile.companyName, 0, sizeof profile.companyName);
  Cp932(name).copy(profile.companyName, 259);
  ASSERT_EQ(1, Write());
  std::string cut;
  for (int i = 0; i < 31; ++i) cut += "商";
  EXPECT_TRUE(SameBytes("<KOMONSAKINAME>" + Cp932(cut) + "</KOMONSAKINAME>\r\n",
                        Section(Output(), "<KOMONSAKINAME>", "</KOMONSAKINAME>\r\n")));

  // 31 half-width letters become 62 bytes, within the limit and kept whole.
  std::memset(profile.companyName, 0, sizeof profile.companyName);
  std::memset(profile.companyName, 'a', 31);
  ASSERT_EQ(1, Write());
  std::string wide;
  for (int i = 0; i < 31; ++i) wide += "ａ";
  EXPECT_TRUE(SameBytes("<KOMONSAKINAME>" + Cp932(wide) + "</KOMONSAKINAME>\r\n",
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
  inputs.notesPresent = 1;
  ASSERT_EQ(1, Write());
  EXPECT_NE(std::string::npos,
            Output().find("\t\t</StatementChangesNetAssets>\r\n\t\t<ListNotesNonConsolidated>\r\n"
                          "\t\t</ListNotesNonConsolidated>\r\n\t</DATA>\r\n"));
}

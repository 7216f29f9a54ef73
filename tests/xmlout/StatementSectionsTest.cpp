// The statement sections: selection by account character and row kind, the amount format,
// name cleaning, total lines, and the unclassified noncurrent assets with their warnings.
#include <memory>

#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "platform/ui/UiBackend.h"
#include "runstate/EditionProfile.h"
#include "xmlout/CleanName.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

namespace {

constexpr int64_t kYen = 10000;

class XmlSections : public ::testing::Test {
 protected:
  void SetUp() override { inputs.statementLines = &lines; }

  std::string Run(int (StatementWriter::*section)(XmlElementWriter&)) {
    int result = 0;
    std::string bytes = Capture([&](XmlElementWriter& xml) { return (writer.*section)(xml); }, &result);
    EXPECT_EQ(1, result);
    return bytes;
  }
  std::string Items(uint32_t mask, int level) {
    return Capture([&](XmlElementWriter& xml) { return writer.WriteItems(xml, mask, level); });
  }

  StatementLineList lines;
  WriterInputs inputs;
  ReadFailure failure;
  StatementWriter writer{kVelmora1, inputs, failure};
};

std::string Item(const std::string& labelUtf8, const std::string& amount, int level = 5) {
  return std::string(static_cast<std::size_t>(level), '\t') + "<Item Label=\"" + Cp932(labelUtf8) + "\">" +
         amount + "</Item>\r\n";
}

}  // namespace

TEST_F(XmlSections, ItemAmountsAreWholeYenTruncatedTowardZeroAndZeroYenIsLeftOut) {
  lines = {
      MakeLine(0x80880800, "現金", 1234567),   // 123.4567 yen
      MakeLine(0x80880800, "小口現金", 5000),  // 0.5 yen
      MakeLine(0x80880800, "仮払金", -25000),  // -2.5 yen
      MakeLine(0x80880800, "預け金", -19999),  // -1.9999 yen
      MakeLine(0x80880800, "立替金", 123456789012345678),
  };
  EXPECT_TRUE(SameBytes(
      Item("現金", "123") + Item("仮払金", "-2") + Item("預け金", "-1") + Item("立替金", "12345678901234"),
      Items(0x80880000, 5)));
}

TEST_F(XmlSections, OnlyRowKindsZeroAndThreeAreItemsButAnyKindLabelsASection) {
  lines = {
      MakeLine(0x80880000, "流動資産合計", 0, 2),
      MakeLine(0x80880800, "現金", 7 * kYen, 2),
      MakeLine(0x80880800, "預金", 8 * kYen, 3),
      MakeLine(0x80880800, "手形", 9 * kYen, 1),
  };
  const std::string bytes = Capture([&](XmlElementWriter& xml) {
    const int opened = writer.WriteSectionStart(xml, 0x80880000, "CurrentAssets", 4);
    return opened & writer.WriteItems(xml, 0x80880000, 5);
  });
  EXPECT_TRUE(SameBytes(
      "\t\t\t\t<CurrentAssets Label=\"" + Cp932("流動資産合計") + "\" Amount=\"\">\r\n" + Item("預金", "8"),
      bytes));
}

TEST_F(XmlSections, SectionWithoutTotalLineOpensBare) {
  const std::string bytes = Capture(
      [&](XmlElementWriter& xml) { return writer.WriteSectionStart(xml, 0x80880000, "CurrentAssets", 4); });
  EXPECT_TRUE(SameBytes("\t\t\t\t<CurrentAssets>\r\n", bytes));
}

TEST_F(XmlSections, NamesAreCleanedOfBracketsBlanksAndMarkers) {
  lines = {
      MakeLine(0x80880800, "【未払金】", kYen),
      MakeLine(0x80880800, "(製)材料費", kYen),
      MakeLine(0x80880800, "［完］（）《》 　[未](未)", kYen),
      MakeLine(0x80880800, "(完)[製]", kYen),
      MakeLine(0x80880800, "ソ表 工場", kYen),
  };
  EXPECT_TRUE(SameBytes(
      Item("未払金", "1") + Item("材料費", "1") + Item("完", "1") + Item("", "1") + Item("ソ表工場", "1"),
      Items(0x80880000, 5)));
}

TEST(XmlCleanName, KeepsDoubleByteCharactersWholeAndDropsMarkersAnywhere) {
  EXPECT_EQ(Cp932("別途積立金特別"), CleanName(Cp932("別途積立金（特別）")));
  EXPECT_EQ("", CleanName(""));
  // 0x81 0x40 is the full-width blank, but here 0x81 is the second byte of メ (0x83 0x81)
  // followed by the byte 0x40 ('@').
  const std::string trailThenAt = Cp932("メ") + "@";
  ASSERT_EQ(std::string("\x83\x81\x40", 3), trailThenAt);
  EXPECT_EQ(trailThenAt, CleanName(trailThenAt));
}

TEST_F(XmlSections, TotalLinesUseTheSecondNameAndAreLeftOutWhenMissing) {
  lines = {
      MakeLine(0x40880008, "売上総利益", -3 * kYen, 2),
      MakeLine(0x40880000, "営業利益", 0, 2),
  };
  Cp932("【売上総損益】").copy(lines[0].altName, 30);
  Cp932("　").copy(lines[1].altName, 30);  // cleans to nothing: the official name is used
  int result = 0;
  const std::string bytes = Capture(
      [&](XmlElementWriter& xml) {
        int written = writer.WriteTotalLine(xml, 0x40880008, "GrossProfit", 3);
        written &= writer.WriteTotalLine(xml, 0x40880000, "OperatingIncome", 3);
        written &= writer.WriteTotalLine(xml, 0x40800000, "OrdinaryIncome", 3);
        return written;
      },
      &result);
  EXPECT_EQ(1, result);  // a missing total line writes nothing and succeeds
  EXPECT_TRUE(SameBytes(
      Lines({
          "\t\t\t<GrossProfit Label=\"" + Cp932("売上総損益") + "\" Amount=\"-3\"></GrossProfit>",
          "\t\t\t<OperatingIncome Label=\"" + Cp932("営業利益") + "\" Amount=\"\"></OperatingIncome>",
      }),
      bytes));
}

TEST_F(XmlSections, IncomeTaxItemsLeaveOutTheResultLines) {
  lines = {
      MakeLine(0x40200080, "税引前当期純利益", kYen),
      MakeLine(0x40200020, "差引損益", kYen),
      MakeLine(0x40200010, "繰越", kYen),
      MakeLine(0x40200100, "法人税等", 2 * kYen),
      MakeLine(0x40200200, "法人税等調整額", -kYen, 3),
  };
  const std::string bytes =
      Capture([&](XmlElementWriter& xml) { return writer.WriteIncomeTaxItems(xml, 4); });
  EXPECT_TRUE(SameBytes(Item("法人税等", "2", 4) + Item("法人税等調整額", "-1", 4), bytes));
}

TEST_F(XmlSections, SubcontractCostOnlyWithItsOwnLine) {
  lines = {MakeLine(0x20040400, "外注加工費", 5 * kYen)};
  EXPECT_EQ(std::string::npos, Run(&StatementWriter::WriteManufacturingCost).find("Subcontract"));

  lines.push_back(MakeLine(0x20040000, "外注費合計", 5 * kYen, 2));
  const std::string bytes = Run(&StatementWriter::WriteManufacturingCost);
  EXPECT_NE(std::string::npos,
            bytes.find("\t\t\t</LaborCost>\r\n\t\t\t<SubcontractCost Label=\"" + Cp932("外注費合計") +
                       "\" Amount=\"5\">\r\n" + Item("外注加工費", "5", 4) +
                       "\t\t\t</SubcontractCost>\r\n\t\t\t<OverheadExpenses>\r\n"));
}

TEST_F(XmlSections, MissingGrossProfitLeavesTheRestOfTheIncomeStatementUnchanged) {
  lines = {
      MakeLine(0x40888400, "売上高", 10 * kYen),
      MakeLine(0x40880008, "売上総利益", 10 * kYen, 2),
      MakeLine(0x40200040, "当期純利益", 10 * kYen, 2),
  };
  const std::string withGrossProfit = Run(&StatementWriter::WriteIncomeStatement);
  lines.erase(lines.begin() + 1);
  const std::string without = Run(&StatementWriter::WriteIncomeStatement);
  const std::string grossProfitLine =
      "\t\t\t<GrossProfit Label=\"" + Cp932("売上総利益") + "\" Amount=\"10\"></GrossProfit>\r\n";
  const std::size_t at = withGrossProfit.find(grossProfitLine);
  ASSERT_NE(std::string::npos, at);
  EXPECT_TRUE(SameBytes(withGrossProfit.substr(0, at) + withGrossProfit.substr(at + grossProfitLine.size()),
                        without));
}

TEST_F(XmlSections, UnclassifiedNoncurrentLinesWarnOnceEachAndAppearUnderAllThreeSubsections) {
  std::vector<RecordedBox> boxes;
  platform::SetUi(std::make_unique<BoxRecorder>(boxes));
  inputs.messageOwner = 77;
  lines = {
      MakeLine(0x80840000, "固定資産合計", 9 * kYen, 2, 0),
      MakeLine(0x80840000, "【その他】", 3 * kYen, 0, 1990001),
      MakeLine(0x80840004, "保証金", 4 * kYen, 3, 1980000),
      MakeLine(0x80840008, "端数", 5000, 0, 1970000),  // 0.5 yen: neither written nor warned
  };
  const std::string bytes = Run(&StatementWriter::WriteBalanceSheet);
  platform::SetUi(nullptr);

  const std::string pair = Item("その他", "3", 6) + Item("保証金", "4", 6);
  EXPECT_NE(std::string::npos,
            bytes.find("\t\t\t\t\t<PropertyPlantAndEquipment>\r\n" + pair +
                       "\t\t\t\t\t</PropertyPlantAndEquipment>\r\n\t\t\t\t\t<IntangibleAssets>\r\n" + pair +
                       "\t\t\t\t\t</IntangibleAssets>\r\n\t\t\t\t\t<InvestmentsAndOtherAssets>\r\n" + pair +
                       "\t\t\t\t\t</InvestmentsAndOtherAssets>\r\n"));
  ASSERT_EQ(2u, boxes.size());
  const std::string head =
      "以下の科目は、正しい分類に出力することができません。\r\n"
      "科目性格を見直す必要があります。\r\n\r\n科目コード\t： ";
  const std::string tail =
      "\r\n\r\nOrbeckの勘定科目設定画面にて、科目性格を\r\n"
      " [有形固定資産] [無形固定資産] [投資その他の資産]\r\n"
      "のいずれかに設定し、もう一度処理を行ってください。\r\n";
  EXPECT_TRUE(SameBytes(Cp932(head + "199\r\n正式名称\t： 【その他】" + tail), boxes[0].text));
  EXPECT_TRUE(SameBytes(Cp932(head + "198\r\n正式名称\t： 保証金" + tail), boxes[1].text));
  for (const RecordedBox& box : boxes) {
    EXPECT_EQ(77, box.owner);
    EXPECT_EQ(Cp932("決算書"), box.caption);
    EXPECT_EQ(0x30u, box.type);
  }
}

TEST_F(XmlSections, NoWarningWithoutAnOwner) {
  std::vector<RecordedBox> boxes;
  platform::SetUi(std::make_unique<BoxRecorder>(boxes));
  lines = {MakeLine(0x80840000, "その他", 3 * kYen)};
  Run(&StatementWriter::WriteBalanceSheet);
  platform::SetUi(nullptr);
  EXPECT_TRUE(boxes.empty());
}

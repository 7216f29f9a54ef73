// The statement of changes in net assets: component sums in whole yen per line, the split
// of the reserves by name, and net income beside retained earnings brought forward.
#include <limits>

#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "runstate/EditionProfile.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

namespace {

constexpr int64_t kYen = 10000;

StatementLine Component(uint32_t character, const std::string& name, int64_t opening, int64_t closing) {
  StatementLine line = MakeLine(character, name, closing);
  line.openingAmount = opening;
  line.periodAmount = closing - opening;
  return line;
}

StatementLine NetIncomeLine(int64_t period) {
  StatementLine line = MakeLine(0x40200040, "当期純利益", period, 2);
  line.periodAmount = period;
  return line;
}

class XmlChanges : public ::testing::Test {
 protected:
  void SetUp() override { inputs.statementLines = &lines; }
  std::string Run(int expectedResult = 1) {
    int result = -1;
    std::string bytes =
        Capture([&](XmlElementWriter& xml) { return writer.WriteChangesInNetAssets(xml); }, &result);
    EXPECT_EQ(expectedResult, result);
    return bytes;
  }
  StatementLineList lines;
  WriterInputs inputs;
  ReadFailure failure;
  StatementWriter writer{kVelmora1, inputs, failure};
};

const std::string kOpen = "\t\t<StatementChangesNetAssets>\r\n\t\t\t<Select>1</Select>\r\n";
const std::string kClose = "\t\t</StatementChangesNetAssets>\r\n";

std::string Item(const std::string& nameUtf8, const std::vector<std::string>& inner) {
  std::string item =
      "\t\t\t<ChangesNetAssetsItem>\r\n\t\t\t\t<AccountList>" + Cp932(nameUtf8) + "</AccountList>\r\n";
  for (const std::string& line : inner) item += line + "\r\n";
  return item + "\t\t\t</ChangesNetAssetsItem>\r\n";
}

}  // namespace

TEST_F(XmlChanges, ZeroNetAssetsGiveOnlySelect) {
  lines = {Component(0x80288000, "資本金", 0, 0), NetIncomeLine(5 * kYen)};
  EXPECT_TRUE(SameBytes(kOpen + kClose, Run()));
}

TEST_F(XmlChanges, CapitalStockWithoutChangeHasNoChangesElement) {
  lines = {Component(0x80288000, "資本金", 10000000 * kYen, 10000000 * kYen)};
  EXPECT_TRUE(
      SameBytes(kOpen +
                    Item("資本金", {"\t\t\t\t<BalanceEndPreviousPeriod>10000000</BalanceEndPreviousPeriod>",
                                    "\t\t\t\t<BalanceEndCurrentPeriod>10000000</BalanceEndCurrentPeriod>"}) +
                    kClose,
                Run()));
}

TEST_F(XmlChanges, ThreeCapitalCodesSumIntoOneColumnAndOnlyListedKindsCount) {
  lines = {
      Component(0x80288000, "資本金", 1 * kYen, 2 * kYen),
      Component(0x80288040, "新株式申込証拠金", 10 * kYen, 20 * kYen),
      Component(0x80288020, "資本金減少", 100 * kYen, 100 * kYen),
      Component(0x80288000, "資本金合計", 5000 * kYen, 5000 * kYen),
  };
  lines[3].rowKind = 2;
  EXPECT_TRUE(SameBytes(
      kOpen +
          Item("資本金", {"\t\t\t\t<BalanceEndPreviousPeriod>111</BalanceEndPreviousPeriod>",
                          "\t\t\t\t<ChangesItemsDuringPeriod>",
                          "\t\t\t\t\t<TotalChangesItemsDuringPeriod>11</TotalChangesItemsDuringPeriod>",
                          "\t\t\t\t</ChangesItemsDuringPeriod>",
                          "\t\t\t\t<BalanceEndCurrentPeriod>122</BalanceEndCurrentPeriod>"}) +
          kClose,
      Run()));
}

TEST_F(XmlChanges, ReservesAreSplitByTheCleanedName) {
  lines = {
      Component(0x80281040, "圧縮積立金", 0, 3 * kYen),
      Component(0x80281040, "別途積立金", 0, 1 * kYen),
      Component(0x80281040, "別途積立金（特別）", 0, 2 * kYen),
  };
  const std::vector<std::string> changeOf3 = {
      "\t\t\t\t<ChangesItemsDuringPeriod>",
      "\t\t\t\t\t<TotalChangesItemsDuringPeriod>3</TotalChangesItemsDuringPeriod>",
      "\t\t\t\t</ChangesItemsDuringPeriod>", "\t\t\t\t<BalanceEndCurrentPeriod>3</BalanceEndCurrentPeriod>"};
  EXPECT_TRUE(
      SameBytes(kOpen + Item("別途積立金", changeOf3) + Item("任意積立金", changeOf3) + kClose, Run()));
}

TEST_F(XmlChanges, RetainedEarningsShowNetIncomeBesideAZeroChange) {
  lines = {Component(0x80281048, "繰越利益剰余金", 40 * kYen, 40 * kYen), NetIncomeLine(-75 * kYen)};
  inputs.changesKind = 2;
  EXPECT_TRUE(SameBytes(
      "\t\t<StatementChangesNetAssets>\r\n\t\t\t<Select>2</Select>\r\n" +
          Item("繰越利益剰余金",
               {"\t\t\t\t<BalanceEndPreviousPeriod>40</BalanceEndPreviousPeriod>",
                "\t\t\t\t<ChangesItemsDuringPeriod>",
                "\t\t\t\t\t<TotalChangesItemsDuringPeriod>0</TotalChangesItemsDuringPeriod>",
                "\t\t\t\t\t<ChangesItem>", "\t\t\t\t\t\t<Reason>" + Cp932("当期純利益") + "</Reason>",
                "\t\t\t\t\t\t<Amount>-75</Amount>", "\t\t\t\t\t</ChangesItem>",
                "\t\t\t\t</ChangesItemsDuringPeriod>",
                "\t\t\t\t<BalanceEndCurrentPeriod>40</BalanceEndCurrentPeriod>"}) +
          kClose,
      Run()));
}

TEST_F(XmlChanges, RetainedEarningsWithZeroSumsAreLeftOutWhateverTheNetIncome) {
  lines = {Component(0x80281048, "繰越利益剰余金", 0, 0), NetIncomeLine(75 * kYen)};
  EXPECT_TRUE(SameBytes(kOpen + kClose, Run()));
}

TEST_F(XmlChanges, RetainedEarningsWithoutNetIncomeLineFailTheSection) {
  lines = {Component(0x80281048, "繰越利益剰余金", 1 * kYen, 1 * kYen)};
  Run(0);
  // Without retained earnings the net income line is not needed.
  lines = {Component(0x80282080, "資本準備金", 1 * kYen, 1 * kYen)};
  Run(1);
}

TEST_F(XmlChanges, EachLineIsTruncatedToYenBeforeSumming) {
  lines = {
      Component(0x80220000, "新株予約権", 6000, 6000),
      Component(0x80220000, "新株予約権", 6000, 6000),
      Component(0x80220000, "新株予約権", 6000, 6000),
  };
  EXPECT_TRUE(SameBytes(kOpen + kClose, Run()));
}

TEST_F(XmlChanges, ComponentsFollowTheFixedColumnOrder) {
  lines = {
      Component(0x80220000, "新株予約権", 0, kYen),
      Component(0x80242000, "土地再評価差額金", 0, kYen),
      Component(0x80244000, "繰延ヘッジ損益", 0, kYen),
      Component(0x80248000, "その他有価証券評価差額金", 0, kYen),
      Component(0x80280800, "自己株式", 0, kYen),
      Component(0x80281080, "利益準備金", 0, kYen),
      Component(0x80282040, "その他資本剰余金", 0, kYen),
      Component(0x80282080, "資本準備金", 0, kYen),
  };
  const std::vector<std::string> one = {
      "\t\t\t\t<ChangesItemsDuringPeriod>",
      "\t\t\t\t\t<TotalChangesItemsDuringPeriod>1</TotalChangesItemsDuringPeriod>",
      "\t\t\t\t</ChangesItemsDuringPeriod>", "\t\t\t\t<BalanceEndCurrentPeriod>1</BalanceEndCurrentPeriod>"};
  std::string expected = kOpen;
  for (const char* name : {"資本準備金", "その他資本剰余金", "利益準備金", "自己株式",
                           "その他有価証券評価差額金", "繰延ヘッジ損益", "土地再評価差額金", "新株予約権"}) {
    expected += Item(name, one);
  }
  EXPECT_TRUE(SameBytes(expected + kClose, Run()));
}

TEST_F(XmlChanges, TheGeneralReserveNameIsMatchedOnlyAtCharacterBoundaries) {
  // ヵ is 0x83 0x95 and ﾊ is 0xCA: the bytes 0x95 0xCA of 別 appear across the boundary.
  const std::string name = Cp932("ヵﾊ途積立金");
  ASSERT_NE(std::string::npos, name.find(Cp932("別途積立金")));
  lines = {Component(0x80281040, "ヵﾊ途積立金", 0, 4 * kYen)};
  const std::vector<std::string> changeOf4 = {
      "\t\t\t\t<ChangesItemsDuringPeriod>",
      "\t\t\t\t\t<TotalChangesItemsDuringPeriod>4</TotalChangesItemsDuringPeriod>",
      "\t\t\t\t</ChangesItemsDuringPeriod>", "\t\t\t\t<BalanceEndCurrentPeriod>4</BalanceEndCurrentPeriod>"};
  EXPECT_TRUE(SameBytes(kOpen + Item("任意積立金", changeOf4) + kClose, Run()));
}

TEST_F(XmlChanges, SumsBeyondTheSixtyFourBitRangeFailTheSectionInsteadOfWrapping) {
  // Each line is below 10^15 yen; 10001 of them pass the largest 64-bit value.
  const int64_t largest = std::numeric_limits<int64_t>::max();
  lines.assign(10001, Component(0x80220000, "新株予約権", largest, largest));
  Run(0);
  lines.resize(9000);
  const std::string bytes = Run(1);
  EXPECT_NE(std::string::npos,
            bytes.find("<BalanceEndCurrentPeriod>" + std::to_string(largest / 10000 * 9000) + "<"));
}

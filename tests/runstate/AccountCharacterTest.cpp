// The group table: the most specific group names a code, and the names are the code page
// 932 bytes that glibc's iconv makes of the UTF-8 names.
#include "runstate/AccountCharacter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/Cp932Text.h"

using velmora::test::Cp932;

namespace {

struct Case {
  uint32_t character;
  const char* utf8Name;
};

TEST(AccountCharacter, MostSpecificGroupNamesTheCode) {
  const Case cases[] = {
      {0x80880810u, "流動資産"},  // 仮払消費税 lies in current assets
      {0x80800008u, "流動資産"},  // the second current-assets code, before 資産の部
      {0x80848000u, "固定資産"},  // a finer code below noncurrent assets
      {0x80800001u, "資産の部"},         {0x80484010u, "流動負債"},       {0x80202010u, "純資産の部"},
      {0x80240000u, "評価･換算差額等"},  // half-width middle dot: one byte
      {0x80100000u, "負債・純資産合計"}, {0x80000004u, "貸借対照表"},     {0x40888000u, "売上高"},
      {0x40880008u, "営業損益"},         {0x40844000u, "営業外費用"},     {0x40440000u, "特別損失"},
      {0x40800000u, "経常損益"},         {0x40200020u, "差引損益"},       {0x40000001u, "損益計算書"},
      {0x20100000u, "仕掛品"},           {0x20000010u, "製造原価報告書"}, {0x10000000u, "特別勘定"},
      {0x08000080u, "集計対象外"},       {0x08000000u, "集計対象外"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp932(c.utf8Name), SectionNameOf(static_cast<int32_t>(c.character))) << std::hex << c.character;
  }
}

// Every group code lies in no group listed before it, so each one names itself.
TEST(AccountCharacter, EveryGroupCodeNamesItself) {
  const Case groups[] = {
      {0x80880000u, "流動資産"},         {0x80840000u, "固定資産"},   {0x80820000u, "繰延資産"},
      {0x80800008u, "流動資産"},         {0x80800000u, "資産の部"},   {0x80480000u, "流動負債"},
      {0x80440000u, "固定負債"},         {0x80400000u, "負債の部"},   {0x80280000u, "株主資本"},
      {0x80240000u, "評価･換算差額等"},  {0x80220000u, "新株予約権"}, {0x80200000u, "純資産の部"},
      {0x80100000u, "負債・純資産合計"}, {0x80000000u, "貸借対照表"}, {0x40888000u, "売上高"},
      {0x40884000u, "売上原価"},         {0x40882000u, "販管費"},     {0x40880000u, "営業損益"},
      {0x40848000u, "営業外収益"},       {0x40844000u, "営業外費用"}, {0x40840000u, "営業外損益"},
      {0x40480000u, "特別利益"},         {0x40440000u, "特別損失"},   {0x40800000u, "経常損益"},
      {0x40400000u, "特別損益"},         {0x40200000u, "差引損益"},   {0x40000000u, "損益計算書"},
      {0x20800000u, "材料費"},           {0x20400000u, "労務費"},     {0x20200000u, "製造経費"},
      {0x20100000u, "仕掛品"},           {0x20080000u, "製造原価"},   {0x20000000u, "製造原価報告書"},
      {0x10000000u, "特別勘定"},         {0x08000080u, "集計対象外"}, {0x08000000u, "集計対象外"},
  };
  for (const Case& c : groups) {
    EXPECT_EQ(Cp932(c.utf8Name), SectionNameOf(static_cast<int32_t>(c.character))) << std::hex << c.character;
  }
}

TEST(AccountCharacter, CodesOutsideEveryGroupHaveNoName) {
  EXPECT_EQ("", SectionNameOf(0));
  EXPECT_EQ("", SectionNameOf(0x00000100));
  EXPECT_EQ("", SectionNameOf(0x04000000));
}

TEST(AccountCharacter, HalfWidthDotIsOneByte) {
  EXPECT_EQ(std::string("\x95\x5d\x89\xbf\xa5", 5),
            SectionNameOf(static_cast<int32_t>(0x80240000u)).substr(0, 5));
}

TEST(AccountCharacter, ExcludedCodesAreExactMatches) {
  EXPECT_TRUE(IsExcludedCharacter(0x08000000));
  EXPECT_TRUE(IsExcludedCharacter(0x08000080));
  EXPECT_FALSE(IsExcludedCharacter(0x08000001)) << "in the group, but not one of the two codes";
  EXPECT_TRUE(InGroup(static_cast<int32_t>(0x80880810u), 0x80880000u));
  EXPECT_FALSE(InGroup(static_cast<int32_t>(0x80480000u), 0x80880000u));
}

}  // namespace

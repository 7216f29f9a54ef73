// The group names of the account character: the most specific group names a code, checked
// over combined codes against the groups nested as the design nests them, with the names in
// the code page 932 bytes that iconv makes of the UTF-8 names.
#include "runstate/AccountCharacter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Cp932Text.h"

using velmora::test::Cp932;

namespace {

// The groups as the design nests them: each statement, its parts, their sections and items.
// A code's name is found by walking down from the statements: enter the first node (in the
// order listed) whose bits are all in the code, then look among its children the same way;
// the last node entered names the code. This is the design's group list in another form
// (a tree, read by descent), not the code's flat table.
struct Node {
  uint32_t code;
  const char* utf8Name;
  std::vector<Node> children;
};

const std::vector<Node>& Statements() {
  static const std::vector<Node> tree = {
      {0x80000000u,
       "貸借対照表",
       {{0x80800000u,
         "資産の部",
         {{0x80880000u, "流動資産", {}},
          {0x80840000u, "固定資産", {}},
          {0x80820000u, "繰延資産", {}},
          {0x80800008u, "流動資産", {}}}},
        {0x80400000u, "負債の部", {{0x80480000u, "流動負債", {}}, {0x80440000u, "固定負債", {}}}},
        {0x80200000u,
         "純資産の部",
         {{0x80280000u, "株主資本", {}},
          {0x80240000u, "評価･換算差額等", {}},
          {0x80220000u, "新株予約権", {}}}},
        {0x80100000u, "負債・純資産合計", {}}}},
      {0x40000000u,
       "損益計算書",
       {{0x40800000u,
         "経常損益",
         {{0x40880000u,
           "営業損益",
           {{0x40888000u, "売上高", {}}, {0x40884000u, "売上原価", {}}, {0x40882000u, "販管費", {}}}},
          {0x40840000u, "営業外損益", {{0x40848000u, "営業外収益", {}}, {0x40844000u, "営業外費用", {}}}}}},
        {0x40400000u, "特別損益", {{0x40480000u, "特別利益", {}}, {0x40440000u, "特別損失", {}}}},
        {0x40200000u, "差引損益", {}}}},
      {0x20000000u,
       "製造原価報告書",
       {{0x20800000u, "材料費", {}},
        {0x20400000u, "労務費", {}},
        {0x20200000u, "製造経費", {}},
        {0x20100000u, "仕掛品", {}},
        {0x20080000u, "製造原価", {}}}},
      {0x10000000u, "特別勘定", {}},
      {0x08000080u, "集計対象外", {}},
      {0x08000000u, "集計対象外", {}},
  };
  return tree;
}

std::string NameByDescent(uint32_t code) {
  const std::vector<Node>* level = &Statements();
  std::string name;
  for (bool entered = true; entered;) {
    entered = false;
    for (const Node& node : *level) {
      if ((code & node.code) == node.code) {
        name = node.utf8Name;
        level = &node.children;
        entered = true;
        break;
      }
    }
  }
  return name;
}

void Collect(const std::vector<Node>& nodes, std::vector<uint32_t>& codes) {
  for (const Node& node : nodes) {
    codes.push_back(node.code);
    Collect(node.children, codes);
  }
}

// Every group code, every pair of them combined, and each of those with a low bit that
// marks finer codes (0x80880810, 0x40200020): the codes where a wrong order or a wrong group
// shows.
TEST(AccountCharacter, EveryCodeIsNamedByItsMostSpecificGroup) {
  std::vector<uint32_t> groups;
  Collect(Statements(), groups);
  ASSERT_EQ(36u, groups.size());
  std::vector<uint32_t> codes;
  for (const uint32_t a : groups) {
    for (const uint32_t b : groups) codes.push_back(a | b);
  }
  const std::size_t combined = codes.size();
  for (std::size_t i = 0; i < combined; ++i) {
    for (const uint32_t low : {0x10u, 0x20u, 0x810u, 0x8000u}) codes.push_back(codes[i] | low);
  }
  for (const uint32_t code : codes) {
    const std::string expected = NameByDescent(code);
    EXPECT_EQ(expected.empty() ? std::string() : Cp932(expected), SectionNameOf(static_cast<int32_t>(code)))
        << std::hex << code << " should be " << expected;
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

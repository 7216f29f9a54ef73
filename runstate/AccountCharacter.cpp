// The group table of the account character, most specific group first, so that the first
// group whose bits are all set names a code.
#include "runstate/AccountCharacter.h"

#include <array>

#include "platform/Cp932.h"

namespace {

struct Group {
  uint32_t code;
  const char* utf8Name;
};

// clang-format off
constexpr std::array<Group, 36> kGroups = {{
    {0x80880000u, "流動資産"},
    {0x80840000u, "固定資産"},
    {0x80820000u, "繰延資産"},
    {0x80800008u, "流動資産"},
    {0x80800000u, "資産の部"},
    {0x80480000u, "流動負債"},
    {0x80440000u, "固定負債"},
    {0x80400000u, "負債の部"},
    {0x80280000u, "株主資本"},
    {0x80240000u, "評価･換算差額等"},
    {0x80220000u, "新株予約権"},
    {0x80200000u, "純資産の部"},
    {0x80100000u, "負債・純資産合計"},
    {0x80000000u, "貸借対照表"},
    {0x40888000u, "売上高"},
    {0x40884000u, "売上原価"},
    {0x40882000u, "販管費"},
    {0x40880000u, "営業損益"},
    {0x40848000u, "営業外収益"},
    {0x40844000u, "営業外費用"},
    {0x40840000u, "営業外損益"},
    {0x40480000u, "特別利益"},
    {0x40440000u, "特別損失"},
    {0x40800000u, "経常損益"},
    {0x40400000u, "特別損益"},
    {0x40200000u, "差引損益"},
    {0x40000000u, "損益計算書"},
    {0x20800000u, "材料費"},
    {0x20400000u, "労務費"},
    {0x20200000u, "製造経費"},
    {0x20100000u, "仕掛品"},
    {0x20080000u, "製造原価"},
    {0x20000000u, "製造原価報告書"},
    {0x10000000u, "特別勘定"},
    {0x08000080u, "集計対象外"},
    {0x08000000u, "集計対象外"},
}};
// clang-format on

// The names in code page 932, converted once on first use.
const std::array<std::string, kGroups.size()>& GroupNames() {
  static const std::array<std::string, kGroups.size()> names = [] {
    std::array<std::string, kGroups.size()> converted;
    for (size_t i = 0; i < kGroups.size(); ++i) {
      converted[i] = platform::cp932::LiteralFromUtf8(kGroups[i].utf8Name);
    }
    return converted;
  }();
  return names;
}

}  // namespace

const std::string& SectionNameOf(int32_t accountCharacter) {
  for (size_t i = 0; i < kGroups.size(); ++i) {
    if (InGroup(accountCharacter, kGroups[i].code)) return GroupNames()[i];
  }
  static const std::string empty;
  return empty;
}

// The account character (科目性格): the host's 32-bit classification code of every balance
// row, matched by nested bit groups, with the names of the groups and the exact codes the
// engine itself relies on. Names are code page 932.
#pragma once

#include <cstdint>
#include <string>

namespace account_character {

inline constexpr uint32_t kBalanceSheet = 0x80000000u;
inline constexpr uint32_t kIncomeStatement = 0x40000000u;
inline constexpr uint32_t kManufacturing = 0x20000000u;
inline constexpr uint32_t kSpecial = 0x10000000u;
inline constexpr uint32_t kExcluded = 0x08000000u;
inline constexpr uint32_t kExcludedAlt = 0x08000080u;

// The net-assets account whose opening balance is carried into the 差引損益 row when the
// period does not start at the beginning of the data.
inline constexpr uint32_t kCarriedNetAssets = 0x80202010u;
inline constexpr uint32_t kResultReceivingCarry = 0x40200020u;

// Consumption-tax accounts: 仮受消費税 and 仮払消費税.
inline constexpr uint32_t kTaxReceived = 0x80484010u;
inline constexpr uint32_t kTaxPaid = 0x80880810u;

}  // namespace account_character

// True when all bits of group are set in character.
constexpr bool InGroup(int32_t character, uint32_t group) {
  return (static_cast<uint32_t>(character) & group) == group;
}

// True for the two codes of accounts excluded from aggregation.
constexpr bool IsExcludedCharacter(int32_t character) {
  const auto code = static_cast<uint32_t>(character);
  return code == account_character::kExcluded || code == account_character::kExcludedAlt;
}

// Name of the most specific group the character belongs to; empty when it is in none.
const std::string& SectionNameOf(int32_t accountCharacter);

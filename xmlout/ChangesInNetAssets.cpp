// The statement of changes in net assets: twelve components of net assets, each summed in
// whole yen from the lines of its account characters, with net income of the period shown
// as the one itemised change of retained earnings brought forward.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Cp932.h"
#include "xmlout/AmountFormat.h"
#include "xmlout/CleanName.h"
#include "xmlout/FieldText.h"
#include "xmlout/LineSelection.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

namespace {

struct ComponentCode {
  int column;
  uint32_t code;
};

constexpr std::array<ComponentCode, 14> kComponentCodes{{
    {0, 0x80288000u},
    {0, 0x80288040u},
    {0, 0x80288020u},
    {1, 0x80282080u},
    {2, 0x80282040u},
    {3, 0x80281080u},
    {4, 0x80281040u},
    {5, 0x80281040u},
    {6, 0x80281048u},
    {7, 0x80280800u},
    {8, 0x80248000u},
    {9, 0x80244000u},
    {10, 0x80242000u},
    {11, 0x80220000u},
}};

constexpr int kComponentCount = 12;
constexpr int kGeneralReserveColumn = 4;
constexpr int kOtherReservesColumn = 5;
constexpr int kRetainedEarningsColumn = 6;
constexpr uint32_t kNetIncomeCode = 0x40200040u;

const std::string& ComponentName(int column) {
  static const std::array<const std::string*, kComponentCount> names{
      &SJ("資本金"),         &SJ("資本準備金"),       &SJ("その他資本剰余金"),
      &SJ("利益準備金"),     &SJ("別途積立金"),       &SJ("任意積立金"),
      &SJ("繰越利益剰余金"), &SJ("自己株式"),         &SJ("その他有価証券評価差額金"),
      &SJ("繰延ヘッジ損益"), &SJ("土地再評価差額金"), &SJ("新株予約権"),
  };
  return *names[static_cast<std::size_t>(column)];
}

// True when text holds word starting at a character boundary: the second byte of a
// double-byte character never begins a match.
bool ContainsWord(std::string_view text, std::string_view word) {
  for (std::size_t pos = 0; pos < text.size(); pos += platform::cp932::CharLength(text, pos)) {
    if (text.substr(pos).starts_with(word)) {
      return true;
    }
  }
  return false;
}

// Columns 4 and 5 share one account character and are told apart by the cleaned name.
bool BelongsToColumn(int column, const StatementLine& line) {
  if (column != kGeneralReserveColumn && column != kOtherReservesColumn) {
    return true;
  }
  const bool generalReserve = ContainsWord(CleanName(FieldText(line.officialName)), SJ("別途積立金"));
  return generalReserve == (column == kGeneralReserveColumn);
}

struct ComponentSums {
  int64_t opening = 0;
  int64_t change = 0;
  int64_t closing = 0;

  // Adds the line's amounts in whole yen; false when a sum would leave the 64-bit range,
  // which no real data reaches but which must fail the document rather than wrap.
  bool Add(const StatementLine& line) {
    return !__builtin_add_overflow(opening, ToYen(line.openingAmount), &opening) &&
           !__builtin_add_overflow(change, ToYen(line.periodAmount), &change) &&
           !__builtin_add_overflow(closing, ToYen(line.closingAmount), &closing);
  }
};

}  // namespace

int StatementWriter::WriteChangesInNetAssets(XmlElementWriter& xml) {
  if (!xml.StartElement("StatementChangesNetAssets", 2)) return 0;
  if (!xml.WriteElement("Select", std::to_string(static_cast<int>(inputs_.changesKind)), 3)) return 0;

  for (int column = 0; column < kComponentCount; ++column) {
    // Each line is truncated to whole yen before it is added.
    ComponentSums sums;
    for (const ComponentCode& pair : kComponentCodes) {
      if (pair.column != column) {
        continue;
      }
      LineSelection selected;
      if (!SelectExact(Lines(), pair.code, selected)) return 0;
      for (const StatementLine* line : selected) {
        if (!BelongsToColumn(column, *line)) {
          continue;
        }
        if (!sums.Add(*line)) return 0;
      }
    }
    if (sums.opening == 0 && sums.change == 0 && sums.closing == 0) {
      continue;
    }

    int64_t netIncome = 0;
    if (column == kRetainedEarningsColumn) {
      const StatementLine* netIncomeLine = FindLine(Lines(), kNetIncomeCode);
      if (netIncomeLine == nullptr) return 0;
      netIncome = ToYen(netIncomeLine->periodAmount);
    }

    if (!xml.StartElement("ChangesNetAssetsItem", 3)) return 0;
    if (!xml.WriteElement("AccountList", ComponentName(column), 4)) return 0;
    if (sums.opening != 0 && !xml.WriteElement("BalanceEndPreviousPeriod", FormatYen(sums.opening), 4)) {
      return 0;
    }
    if (sums.change != 0 || netIncome != 0) {
      if (!xml.StartElement("ChangesItemsDuringPeriod", 4)) return 0;
      if (!xml.WriteElement("TotalChangesItemsDuringPeriod", FormatYen(sums.change), 5)) {
        return 0;
      }
      if (netIncome != 0) {
        if (!xml.StartElement("ChangesItem", 5)) return 0;
        if (!xml.WriteElement("Reason", SJ("当期純利益"), 6)) return 0;
        if (!xml.WriteElement("Amount", FormatYen(netIncome), 6)) return 0;
        if (!xml.EndElement("ChangesItem", 5)) return 0;
      }
      if (!xml.EndElement("ChangesItemsDuringPeriod", 4)) return 0;
    }
    if (sums.closing != 0 && !xml.WriteElement("BalanceEndCurrentPeriod", FormatYen(sums.closing), 4)) {
      return 0;
    }
    if (!xml.EndElement("ChangesNetAssetsItem", 3)) return 0;
  }
  return xml.EndElement("StatementChangesNetAssets", 2);
}

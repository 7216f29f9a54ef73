// The host's codes that the program passes and the runtime interprets, named once: set
// kinds, folder kinds, the fields, comparisons, value types and links of a find record,
// the month codes a find compares, the ledger order and the journal cursor type. Both the
// program and orbeck/ use these names; a new code goes here first (docs/runtime.md lists
// them with what the runtime does with each).
#pragma once

#include <array>
#include <cstdint>

namespace hostcode {

// Set kinds of ClDataMgr::GetSetObject, taken with kDataSetArgument.
inline constexpr long kSetAccounts = 1;  // ClSetKamoku, the account master
inline constexpr long kSetTax = 4;       // ClSetShohizei, consumption-tax settings
inline constexpr long kSetData = 5;      // ClSetData, the accounting-data list
inline constexpr long kDataSetArgument = 1;
// The set kind of ClSetMgr::GetSetObject for the era master (ClSetGengo), with kEraSetArgument.
inline constexpr long kSetEras = 13;
inline constexpr long kEraSetArgument = 0;

// Folder kinds of ClFileMgr::GetAppFolderPath.
inline constexpr long kFolderOutput = 0;
inline constexpr long kFolderSettings = 1;

// ClAccConnect::SetUseDataType: the link reads accounting data.
inline constexpr long kUseAccountingData = 1;

// The fields a find condition compares (StFINDCOND::item).
inline constexpr int32_t kFindAccountCode = 2;  // full account code, number * 10000 + sub-account
inline constexpr int32_t kFindJournalId = 6;
inline constexpr int32_t kFindMonthCode = 17;  // fiscal month index 1..12 or an adjustment code

// Comparisons (StFINDCOND::comparison).
inline constexpr int16_t kEqual = 1;
inline constexpr int16_t kNotEqual = 2;
inline constexpr int16_t kNotLessThan = 4;
inline constexpr int16_t kNotGreaterThan = 6;

// Value types (StFINDCOND::valueType): which member holds the value.
inline constexpr int16_t kShortValue = 2;  // shortValue
inline constexpr int16_t kLongValue = 3;   // longValue

// Links to the next condition (StFINDCOND::link), applied left to right.
inline constexpr int16_t kLinkLast = 0;
inline constexpr int16_t kLinkAnd = 1;
inline constexpr int16_t kLinkOr = 2;

// Month codes beyond the twelve fiscal month indexes.
inline constexpr int16_t kMonthInterimAdjustment = 15;
inline constexpr int16_t kMonthYearEndAdjustment = 18;

// The ledger order: the field of each of the six keys, and the flag of the last key. The
// host defines fields 9, 41, 8 and 64; this runtime accepts the order without reading it.
inline constexpr std::array<int32_t, 6> kLedgerOrderFields = {9, kFindMonthCode, 41, 8, kFindJournalId, 64};
inline constexpr uint8_t kLedgerOrderLastFlag = 1;

// The cursor type of ClRuleShiwake::MoveReady for a journal's lines.
inline constexpr short kJournalLinesCursor = 2;

}  // namespace hostcode

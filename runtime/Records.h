// The host runtime's records (St...), laid out byte for byte as the host delivers them.
// Every record is packed; the offsets that callers rely on are checked at compile time.
// Text fields are code page 932 bytes; a name field filled to its width carries no NUL.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One accounting data record (the selected data's profile), 1,506 bytes.
struct StDATAINFO {
  char dataId[16];     // zero-terminated identity of the data
  int32_t selectedNo;  // number of the record among all data records
  uint8_t reserved20[4];
  char companyName[260];  // zero-terminated
  int32_t periodStart;    // yyyymmdd
  int32_t periodEnd;      // yyyymmdd
  int32_t closingDay;     // day of the month on which months close (31 = month end)
  uint8_t reserved296[4];
  int32_t patternFlag;     // nonzero: the data keeps a manufacturing cost schedule
  int32_t interimClosing;  // 1: the data keeps an interim closing
  uint8_t reserved308[18];
  int16_t introMonthIndex;  // fiscal month index where bookkeeping began; 99 = past results
  uint8_t reserved328[548];
  uint8_t companiesActReady;  // 1: converted to the Companies Act format
  uint8_t reserved877[629];
};
static_assert(sizeof(StDATAINFO) == 1506);
static_assert(offsetof(StDATAINFO, selectedNo) == 16);
static_assert(offsetof(StDATAINFO, companyName) == 24);
static_assert(offsetof(StDATAINFO, periodStart) == 284);
static_assert(offsetof(StDATAINFO, periodEnd) == 288);
static_assert(offsetof(StDATAINFO, patternFlag) == 300);
static_assert(offsetof(StDATAINFO, interimClosing) == 304);
static_assert(offsetof(StDATAINFO, introMonthIndex) == 326);
static_assert(offsetof(StDATAINFO, companiesActReady) == 876);

// One condition of a find record, 34 bytes.
struct StFINDCOND {
  int32_t item;  // field compared (17 = month code of a summed amount)
  uint8_t reserved4[2];
  int16_t comparison;  // 1 equal, 2 (host's own), 4 not less than, 6 not greater than
  uint8_t reserved8[2];
  int16_t valueType;  // 2 = 16-bit whole number in shortValue, 3 = 32-bit in longValue
  uint8_t reserved12[2];
  int32_t longValue;   // the value when valueType is 3
  int16_t shortValue;  // the value when valueType is 2
  uint8_t reserved20[10];
  int16_t link;  // 1 and, 2 or, 0 last condition
  uint8_t reserved32[2];
};
static_assert(sizeof(StFINDCOND) == 34);
static_assert(offsetof(StFINDCOND, comparison) == 6);
static_assert(offsetof(StFINDCOND, valueType) == 10);
static_assert(offsetof(StFINDCOND, shortValue) == 18);
static_assert(offsetof(StFINDCOND, link) == 30);

// A find record: up to four chained conditions, 136 bytes.
struct StFINDINFO {
  StFINDCOND cond[4];
};
static_assert(sizeof(StFINDINFO) == 136);

// One sort key of an order record.
struct StORDERKEY {
  uint8_t flag;
  uint8_t second;
  int32_t field;
  int16_t word;
};
static_assert(sizeof(StORDERKEY) == 8);

struct StORDERINFO {
  StORDERKEY key[6];
};

// Era master record, 24 bytes.
struct StGENGOINFO {
  int32_t gengoNo;   // the era's number in the master
  int32_t firstDay;  // yyyymmdd
  char name[16];     // zero-terminated, e.g. 令和
};
static_assert(sizeof(StGENGOINFO) == 24);
static_assert(offsetof(StGENGOINFO, firstDay) == 4);
static_assert(offsetof(StGENGOINFO, name) == 8);

// Head of the consumption-tax settings; byte 5 is the amount basis (nonzero: tax included).
struct StSHOHIZEIINFO {
  int32_t taxMethod;
  uint8_t reserved4;
  uint8_t amountBasis;
  uint8_t reserved6[6];
  uint8_t reserved12[52];
};
static_assert(offsetof(StSHOHIZEIINFO, amountBasis) == 5);

// Number of amount entries per balance array: 0 opening, 1-12 fiscal months,
// 13 year-end closing adjustment, 14 interim closing adjustment.
inline constexpr int kSumEntries = 15;

// One balance row (account, sub-account or total row) of the balance cursor.
struct StKAMOKUSUMINFO {
  int32_t accountCode;    // account number * 10000 + sub-account number
  char officialName[30];  // 正式名称
  char secondName[30];    // second name, may be empty
  uint8_t flagA;          // the two flag bytes before the kind byte
  uint8_t flagB;
  uint8_t kind;                 // 0 account, 1 heading (never stored), 2 and 3 other row kinds
  uint8_t debitNature;          // 1: debit-balance account
  int32_t accountCharacter;     // 科目性格
  int64_t debit1[kSumEntries];  // set 1: without tax
  int64_t debit2[kSumEntries];  // set 2: with tax
  int64_t credit1[kSumEntries];
  int64_t credit2[kSumEntries];
};

// Department record; the program passes none.
struct StBUMONINFO {
  int32_t bumonCode;
  char name[30];
};

// One account-master record.
struct StKAMOKUINFO {
  int32_t accountCode;
  char name[30];
  char secondName[30];
  uint8_t kind;
  uint8_t debitNature;
  int32_t accountCharacter;
};

// One ledger posting of the ledger cursor.
struct StMOTOCHOINFO {
  int32_t journalId;
  int32_t lineNo;       // 1 = first line of its journal entry
  int32_t date;         // yyyymmdd
  uint8_t counterKind;  // 33, 18, 34 steer the sundry choice
  uint8_t side;         // 1 the account is on the credit side, 2 debit side, other both
  int32_t debitCode;
  int64_t debitAmount;
  int64_t debitTax;
  int32_t creditCode;
  int64_t creditAmount;
  int64_t creditTax;
  char description[60];
};

// One journal line of the journal cursor.
struct StSWKTINFO {
  int32_t journalId;
  int32_t lineNo;
  int32_t date;
  uint8_t counterKind;
  int32_t debitCode;
  int64_t debitAmount;
  int64_t debitTax;
  int32_t creditCode;
  int64_t creditAmount;
  int64_t creditTax;
  char description[60];
};

// The ledger range record the ledger view points to.
struct StMOTOCHORANGE {
  int32_t word[3];
};

// Ledger view: which account and dates the ledger cursor serves.
struct StMOTOCHOHYOJIINFO {
  int32_t accountCode;
  uint8_t flag1;
  uint8_t flag2;
  int16_t word1;
  int32_t adjustmentOnly;  // 1 when the last month index is 15
  int32_t startDate;       // yyyymmdd, first day of the first month
  int32_t endDate;         // yyyymmdd, last day of the last month
  int16_t word2;
  uint8_t bytes[3];
  StMOTOCHORANGE* range;
};

#pragma pack(pop)

// The statement model the importer builds: the closed list of section keys a source account
// can be placed in, each with its account character (科目性格), balance direction and the
// account numbers it fills, and the chart's total rows with their members, after the demo
// company's chart. Account numbers are 1 to 9999 (code = number * 10000 + sub-account).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/orbeck-import/Books.h"

namespace orbeck::import {

// What kind of account a section holds, for the check against the source's own type.
enum class SectionClass { Asset, Liability, Equity, Revenue, Expense };

struct Section {
  const char* key;
  uint32_t character;
  int debitNature;  // 1 debit-balance, 0 credit-balance
  SectionClass sectionClass;
  int firstNumber;  // numbers given in order of appearance, first to last
  int lastNumber;
  int totalNumber;  // the total row whose member it is
};

// Sub-account and special keys.
inline constexpr const char* kTaxPaidKey = "bs.current.tax-paid";
inline constexpr const char* kTaxReceivedKey = "bs.current-liabilities.tax-received";
inline constexpr const char* kRetainedKey = "na.retained";
inline constexpr int kRetainedNumber = 5340;      // 繰越利益剰余金, a listed total over 差引損益
inline constexpr int kManufacturedNumber = 7220;  // 当期製品製造原価, a listed total over the schedule

struct TotalRow {
  int number;
  const char* name;
  const char* secondName;
  uint32_t character;
  int debitNature;
  int kind;                 // 2 total, 3 listed total
  std::vector<int> totals;  // total rows among its members
  bool manufacturing;       // a row of the manufacturing cost schedule (only with such accounts)
};

const std::vector<Section>& Sections();
const Section* FindSection(const std::string& key);
const std::vector<TotalRow>& TotalRows();
bool IsTotalNumber(int number);

// True when an account of the source's type may be placed in the section (Unknown: any).
bool Agrees(SourceType type, SectionClass sectionClass);
// True for balance-sheet sections (their balance carries over the year).
bool IsBalanceSheet(const Section& section);
bool IsManufacturing(const Section& section);
// The two consumption-tax sections (仮払消費税, 仮受消費税).
bool IsTaxSection(const Section& section);

const char* TypeName(SourceType type);

}  // namespace orbeck::import

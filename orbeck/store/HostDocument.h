// The host data of one installation in memory: what a validated JSON document says and what
// the store holds. Texts are code page 932 bytes; amounts are ten-thousandths of a yen.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orbeck::store {

inline constexpr int kEntries = 15;  // 0 opening, 1-12 fiscal months, 13 year-end, 14 interim

// Balance sums of one row: [set 0 = tax excluded, 1 = tax included][side 0 debit, 1 credit].
struct BalanceSums {
  std::array<std::array<std::array<int64_t, kEntries>, 2>, 2> amounts{};

  int64_t& At(int set, int side, int entry) { return amounts[set][side][entry]; }
  int64_t At(int set, int side, int entry) const { return amounts[set][side][entry]; }
  bool operator==(const BalanceSums&) const = default;
};

inline constexpr int kSetExcluded = 0;
inline constexpr int kSetIncluded = 1;
inline constexpr int kDebit = 0;
inline constexpr int kCredit = 1;

struct AccountRecord {
  int32_t code = 0;  // account number * 10000 + sub-account number
  std::string name;
  std::string secondName;
  int kind = 0;  // 0 account, 1 heading, 2 total, 3 listed total
  int debitNature = 0;
  uint32_t character = 0;  // 科目性格
  int flagA = 0;
  int flagB = 0;
  bool balanceRow = true;
  std::optional<int64_t> opening;  // in the account's own direction
  std::optional<BalanceSums> explicitSums;
  std::vector<int32_t> members;
  BalanceSums sums;  // what the store holds (explicit or derived)
};

struct JournalLineRecord {
  int32_t debitCode = 0;  // 0: no debit side
  int64_t debitAmount = 0;
  int64_t debitTax = 0;
  int32_t creditCode = 0;  // 0: no credit side
  int64_t creditAmount = 0;
  int64_t creditTax = 0;
  std::string description;
  int counterKind = 0;
};

struct JournalRecord {
  int32_t id = 0;
  int32_t date = 0;    // yyyymmdd
  int adjustment = 0;  // 0 ordinary, 13 year-end, 14 interim
  std::vector<JournalLineRecord> lines;
};

struct DataRecord {
  std::string dataId;  // ASCII, at most 15 characters
  int32_t selectedNo = 0;
  std::string companyName;
  int32_t periodStart = 0;
  int32_t periodEnd = 0;
  int closingDay = 31;
  int32_t patternFlag = 0;
  int32_t interimClosing = 0;
  int introMonthIndex = 0;
  int companiesActReady = 1;
  bool hasTaxSettings = false;
  int32_t taxMethod = 0;
  int amountBasis = 0;
  std::vector<AccountRecord> accounts;  // in balance-cursor order
  std::vector<JournalRecord> journals;
  std::map<int64_t, std::string> savedDocuments;
};

struct UserRecord {
  std::string id;
  int32_t selectedFirst = 0;
  int32_t selectedNo = 0;
};

struct EraRecord {
  int32_t no = 0;
  int32_t firstDay = 0;
  std::string name;
};

struct HostDocument {
  std::string packageName;
  int64_t expSysLink = 0;
  std::map<int64_t, std::string> folders;
  std::vector<UserRecord> users;
  std::string currentUser;
  std::vector<EraRecord> eras;
  std::vector<DataRecord> data;
};

}  // namespace orbeck::store

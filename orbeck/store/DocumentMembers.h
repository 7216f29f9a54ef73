// The members of the host data document's objects, described once: their names, what each
// holds (with its range or byte limit), whether it is required, the record field it fills
// and the store column that keeps it. Both readers check and take members by these tables
// (the careful reader of JSON trees and the quick reader of a journal's events), the store's
// inserts and reads and the dumper move the members that have a field and a column, and a
// test holds docs/host-data.schema.json to them. A member whose value needs code of its own
// (a nested object or list, a default that depends on another member) is Nested here: the
// tables still name it, so that it is known, and required where it must be there.
// A member is listed in the order in which the careful reader checks it.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <variant>

#include "orbeck/store/HostDocument.h"
#include "platform/WinTypes.h"

namespace orbeck::store::members {

enum class Kind : uint8_t {
  Integer,    // a JSON integer within [min, max]
  Date,       // a yyyymmdd integer that names a calendar date
  Amount,     // a JSON string of yen with at most four decimals
  Text,       // a JSON string whose code page 932 form has at most `max` bytes and no NUL
  Boolean,    // true or false
  Character,  // 科目性格: "0x…" hex text or an integer 0 to 0xFFFFFFFF
  Nested,     // read by code of its own
};

// The record field a member fills: none for Nested members and members kept elsewhere.
template <typename Record>
using Field = std::variant<std::monostate, int Record::*, int64_t Record::*, uint32_t Record::*,
                           bool Record::*, std::string Record::*>;

template <typename Record>
struct Member {
  std::string_view name;
  Kind kind = Kind::Nested;
  bool required = false;
  int64_t min = 0;
  int64_t max = 0;  // Integer: the range; Text: the byte limit
  Field<Record> field{};
  std::string_view column{};  // the store's column (the root's: the meta table's key)
};

inline constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
inline constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
inline constexpr int64_t kUnlimitedText = std::numeric_limits<int64_t>::max();

// Byte limits of the host's fixed text fields, in code page 932 bytes.
inline constexpr int64_t kNameBytes = 30;
inline constexpr int64_t kDescriptionBytes = 60;
inline constexpr int64_t kCompanyBytes = 259;
inline constexpr int64_t kUserIdBytes = 64;
inline constexpr int64_t kDataIdBytes = 15;
inline constexpr int64_t kEraNameBytes = 15;
inline constexpr int64_t kPathBytes = static_cast<int64_t>(platform::kPathCapacity) - 1;

// Account codes: account number (1 to 9999) * 10000 + sub-account number.
inline constexpr int64_t kFirstAccountCode = 10000;
inline constexpr int64_t kLastAccountCode = 99999999;

template <typename Record>
constexpr Member<Record> Integer(std::string_view name, bool required, int64_t min, int64_t max,
                                 Field<Record> field = {}, std::string_view column = {}) {
  return {name, Kind::Integer, required, min, max, field, column};
}
template <typename Record>
constexpr Member<Record> Date(std::string_view name, bool required, int Record::*field,
                              std::string_view column) {
  return {name, Kind::Date, required, 0, 0, field, column};
}
template <typename Record>
constexpr Member<Record> Amount(std::string_view name, int64_t Record::*field, std::string_view column) {
  return {name, Kind::Amount, false, 0, 0, field, column};
}
template <typename Record>
constexpr Member<Record> Text(std::string_view name, bool required, int64_t maxBytes,
                              std::string Record::*field = nullptr, std::string_view column = {}) {
  return {name,  Kind::Text, required,
          0,     maxBytes,   field != nullptr ? Field<Record>(field) : Field<Record>(std::monostate{}),
          column};
}
template <typename Record>
constexpr Member<Record> Nested(std::string_view name, bool required) {
  return {name, Kind::Nested, required};
}

inline constexpr std::array kRootMembers{
    Nested<HostDocument>("format", true),
    Integer<HostDocument>("version", true, 1, 1),
    Text<HostDocument>("packageName", true, kPathBytes, &HostDocument::packageName, "package_name"),
    Integer<HostDocument>("expSysLink", false, kInt32Min, kInt32Max, &HostDocument::expSysLink,
                          "exp_sys_link"),
    Nested<HostDocument>("folders", true),
    Nested<HostDocument>("users", true),
    Nested<HostDocument>("currentUser", true),  // checked against the users
    Nested<HostDocument>("eras", true),
    Nested<HostDocument>("data", true),
};

inline constexpr std::array kUserMembers{
    Text<UserRecord>("id", true, kUserIdBytes, &UserRecord::id, "user_id"),
    Integer<UserRecord>("selectedFirst", true, kInt32Min, kInt32Max, &UserRecord::selectedFirst,
                        "selected_first"),
    Integer<UserRecord>("selectedNo", true, kInt32Min, kInt32Max, &UserRecord::selectedNo, "selected_no"),
};

inline constexpr std::array kEraMembers{
    Integer<EraRecord>("no", true, kInt32Min, kInt32Max, &EraRecord::no, "gengo_no"),
    Date<EraRecord>("firstDay", true, &EraRecord::firstDay, "first_day"),
    Text<EraRecord>("name", true, kEraNameBytes, &EraRecord::name, "name"),
};

inline constexpr std::array kDataMembers{
    Nested<DataRecord>("dataId", true),  // printable ASCII, the key of every table
    Integer<DataRecord>("selectedNo", true, kInt32Min, kInt32Max, &DataRecord::selectedNo, "selected_no"),
    Text<DataRecord>("companyName", true, kCompanyBytes, &DataRecord::companyName, "company_name"),
    Date<DataRecord>("periodStart", true, &DataRecord::periodStart, "period_start"),
    Date<DataRecord>("periodEnd", true, &DataRecord::periodEnd, "period_end"),
    Integer<DataRecord>("closingDay", false, 1, 31, &DataRecord::closingDay, "closing_day"),
    Integer<DataRecord>("patternFlag", false, kInt32Min, kInt32Max, &DataRecord::patternFlag, "pattern_flag"),
    Integer<DataRecord>("interimClosing", false, kInt32Min, kInt32Max, &DataRecord::interimClosing,
                        "interim_closing"),
    Integer<DataRecord>("introMonthIndex", false, -32768, 32767, &DataRecord::introMonthIndex,
                        "intro_month_index"),
    Integer<DataRecord>("companiesActReady", false, 0, 255, &DataRecord::companiesActReady,
                        "companies_act_ready"),
    Nested<DataRecord>("tax", false),
    Nested<DataRecord>("accounts", true),
    Nested<DataRecord>("journals", false),
    Nested<DataRecord>("savedDocuments", false),
};

// The members of a data record's "tax" object, kept in the record itself.
inline constexpr std::array kTaxMembers{
    Integer<DataRecord>("method", true, kInt32Min, kInt32Max, &DataRecord::taxMethod, "tax_method"),
    Integer<DataRecord>("amountBasis", true, 0, 255, &DataRecord::amountBasis, "amount_basis"),
};

inline constexpr std::array kAccountMembers{
    Integer<AccountRecord>("code", true, kFirstAccountCode, kLastAccountCode, &AccountRecord::code,
                           "account_code"),
    Text<AccountRecord>("name", true, kNameBytes, &AccountRecord::name, "official_name"),
    Text<AccountRecord>("secondName", false, kNameBytes, &AccountRecord::secondName, "second_name"),
    Integer<AccountRecord>("kind", true, 0, 3, &AccountRecord::kind, "kind"),
    Integer<AccountRecord>("debitNature", true, 0, 1, &AccountRecord::debitNature, "debit_nature"),
    Member<AccountRecord>{"character", Kind::Character, true, 0, 0xFFFFFFFFLL, &AccountRecord::character,
                          "account_character"},
    Nested<AccountRecord>("flags", false),       // two bytes, kept as flag_a and flag_b
    Nested<AccountRecord>("balanceRow", false),  // its default depends on the code
    Nested<AccountRecord>("opening", false),     // balance rows only
    Nested<AccountRecord>("sums", false),        // balance rows only
    Nested<AccountRecord>("members", false),     // total rows only
};

inline constexpr std::array kJournalMembers{
    Integer<JournalRecord>("id", true, 1, kInt32Max, &JournalRecord::id, "journal_id"),
    Date<JournalRecord>("date", true, &JournalRecord::date, "date"),
    Integer<JournalRecord>("adjustment", false, 0, 14, &JournalRecord::adjustment, "adjustment"),
    Nested<JournalRecord>("lines", true),
};

inline constexpr std::array kLineMembers{
    Integer<JournalLineRecord>("debit", false, 0, kInt32Max, &JournalLineRecord::debitCode, "debit_code"),
    Amount<JournalLineRecord>("debitAmount", &JournalLineRecord::debitAmount, "debit_amount"),
    Amount<JournalLineRecord>("debitTax", &JournalLineRecord::debitTax, "debit_tax"),
    Integer<JournalLineRecord>("credit", false, 0, kInt32Max, &JournalLineRecord::creditCode, "credit_code"),
    Amount<JournalLineRecord>("creditAmount", &JournalLineRecord::creditAmount, "credit_amount"),
    Amount<JournalLineRecord>("creditTax", &JournalLineRecord::creditTax, "credit_tax"),
    Text<JournalLineRecord>("description", false, kDescriptionBytes, &JournalLineRecord::description,
                            "description"),
    Integer<JournalLineRecord>("counterKind", false, 0, 255, &JournalLineRecord::counterKind, "counter_kind"),
};

// The members of `table` that the store keeps in a column of their own, as "a, b, c".
template <typename Table>
std::string Columns(const Table& table) {
  std::string columns;
  for (const auto& member : table) {
    if (member.column.empty() || member.field.index() == 0) continue;
    if (!columns.empty()) columns += ", ";
    columns += member.column;
  }
  return columns;
}

// How many members of `table` have a column.
template <typename Table>
constexpr int ColumnCount(const Table& table) {
  int count = 0;
  for (const auto& member : table) count += !member.column.empty() && member.field.index() != 0 ? 1 : 0;
  return count;
}

}  // namespace orbeck::store::members

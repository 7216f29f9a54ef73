// The journal CSV source: a hand-made export in both encodings read into books, slips
// grouped by number and by row kind, the column map by number, and every refusal.
#include <gtest/gtest.h>

#include "tests/import/BookRecorder.h"
#include "tests/support/Cp932Text.h"
#include "tools/orbeck-import/csv/CsvBooksReader.h"

namespace orbeck::import {
namespace {

const std::string kHeader =
    "日付,伝票番号,借方勘定科目,借方補助科目,借方税区分,借方金額,借方税額,"
    "貸方勘定科目,貸方補助科目,貸方税区分,貸方金額,貸方税額,摘要\n";

// A simple sale, a compound slip whose rows are apart (and a row of another slip between),
// an earlier date after a later one, quoted fields and a thousands separator.
const std::string kBody =
    "2024/04/05,1,売掛金,東邦機工,,\"110,000\",,売上高,,課税売上10%,110000,10000,4月分 売上\n"
    "2024/04/10,2,給料手当,,対象外,300000,,普通預金,北都銀行,,330000.5,,\"給与, 4月\"\n"
    "2024/04/10,3,現金,,,5000,,売掛金,東邦機工,,5000,,入金\n"
    "2024/04/10,2,旅費交通費,,課対仕入10%,30000.5,2727,,,,,,\n"
    "2024-4-1,4,現金,,,1000000,,資本金,,,1000000,,設立\n";

const std::string kExpected =
    "account 売掛金:東邦機工 unknown\n"
    "account 売上高 unknown\n"
    "account 給料手当 unknown\n"
    "account 普通預金:北都銀行 unknown\n"
    "account 現金 unknown\n"
    "account 旅費交通費 unknown\n"
    "account 資本金 unknown\n"
    "20240401 [4] 設立 @b.csv:6\n"
    "  現金 10000000000 pair 0 @b.csv:6\n"
    "  資本金 -10000000000 pair 0 @b.csv:6\n"
    "20240405 [1] 4月分 売上 @b.csv:2\n"
    "  売掛金:東邦機工 1100000000 pair 0 @b.csv:2\n"
    "  売上高 -1100000000 tax -100000000 課税売上10% pair 0 @b.csv:2\n"
    "20240410 [2] 給与, 4月 @b.csv:3\n"
    "  給料手当 3000000000 tax 0 対象外 pair 0 @b.csv:3\n"
    "  普通預金:北都銀行 -3300005000 pair 0 @b.csv:3\n"
    "  旅費交通費 300005000 tax 27270000 課対仕入10% pair 1 @b.csv:5\n"
    "20240410 [3] 入金 @b.csv:4\n"
    "  現金 50000000 pair 0 @b.csv:4\n"
    "  売掛金:東邦機工 -50000000 pair 0 @b.csv:4\n";

std::string Read(const std::string& bytes, const CsvLayout& layout, int& result) {
  BookRecorder books;
  std::string error;
  result = ReadCsvBooks(bytes, "b.csv", layout, books, error);
  return result ? books.text : error;
}

CsvLayout Layout(const char* json) {
  CsvLayout layout;
  std::string error;
  EXPECT_EQ(ReadCsvLayout(nlohmann::json::parse(json), layout, error), 1) << error;
  return layout;
}

TEST(CsvBooks, TheSameBooksInEveryEncodingTheLayoutAllows) {
  const std::string utf8 = kHeader + kBody;
  const std::string crlf = [&] {
    std::string s;
    for (char c : utf8) s += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return s;
  }();
  struct Case {
    const char* name;
    std::string bytes;
    const char* layout;
  } cases[] = {
      {"UTF-8 detected", utf8, "{}"},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, "{}"},
      {"Shift_JIS detected, CRLF", velmora::test::Cp932(crlf), "{}"},
      {"Shift_JIS named", velmora::test::Cp932(utf8), R"({"encoding": "shift_jis"})"},
      {"UTF-8 named", utf8, R"({"encoding": "utf-8"})"},
  };
  for (const Case& c : cases) {
    int result = 0;
    EXPECT_EQ(Read(c.bytes, Layout(c.layout), result), kExpected) << c.name;
  }
}

TEST(CsvBooks, CompoundEntriesByRowKindOrPerDaySlipsAndColumnsByNumber) {
  // No header; columns by number. The two entries share a slip number: kind 1 opens an
  // entry and 0 continues it, or the slip numbers start again each day.
  auto columns = [](const char* kind) {
    return std::string(R"("columns": {"kind": )") + kind + R"(, "date": 2, "slip": 3, "description": 8,
      "debit": {"account": 4, "amount": 5}, "credit": {"account": 6, "amount": 7}}})";
  };
  const std::string csv =
      "1,20240401,7,仕入高,800,,,仕入\n"
      "0,20240401,7,,,買掛金,800,\n"
      "1,20240402,7,現金,100,売上高,100,\n";
  for (const std::string& layout :
       {R"({"header": false, "startKinds": ["1"], "continueKinds": ["0"], )" + columns("1"),
        R"({"header": false, "slipsPerDay": true, )" + columns("null")}) {
    int result = 0;
    EXPECT_EQ(
        Read(csv, Layout(layout.c_str()), result),
        "account 仕入高 unknown\naccount 買掛金 unknown\naccount 現金 unknown\naccount 売上高 unknown\n"
        "20240401 [7] 仕入 @b.csv:1\n  仕入高 8000000 pair 0 @b.csv:1\n  買掛金 -8000000 pair 1 @b.csv:2\n"
        "20240402 [7]  @b.csv:3\n  現金 1000000 pair 0 @b.csv:3\n  売上高 -1000000 pair 0 @b.csv:3\n")
        << layout;
  }
}

TEST(CsvBooks, RefusalsNameTheFileAndLine) {
  const char* kinds = R"({"startKinds": ["1"], "continueKinds": ["0"], "columns": {"kind": "区分"}})";
  struct Case {
    std::string bytes;
    const char* layout;
    const char* message;
  } cases[] = {
      {kHeader + "2024/04/01,1,現金,,軽減8%,100,,売上高,,,100,,\n", "{}",
       "b.csv:2: debit side: unknown tax class '軽減8%'"},
      {kHeader + "2024/04/01,5,現金,,,100,,,,,,,\n2024/04/01,6,現金,,,1,,売上高,,,1,,\n2024/04/"
                 "02,5,,,,,,売上高,,,100,,\n",
       "{}", "b.csv:4: slip '5' spans two dates: 20240401 (from b.csv:2) and 20240402"},
      {kHeader + "2024/04/01,1,現金,,,100.12345,,売上高,,,100.12345,,\n", "{}",
       "b.csv:2: debit side: malformed amount '100.12345': amount has more than 4 decimals"},
      {kHeader + "2024/04/01,1,現金,,,1000,,売上高,,,\"1,,000\",,\n", "{}",
       "b.csv:2: credit side: malformed amount '1,,000'"},
      {kHeader + "2024/04/01,1,現金,,,12a,,売上高,,,12,,\n", "{}",
       "b.csv:2: debit side: malformed amount '12a'"},
      {kHeader + "2024/04/01,1,現金,,,100,,,,,,,\n2024/04/01,1,,,,,,売上高,,,99,,\n", "{}",
       "b.csv:2: slip '1' does not balance: debits 100, credits 99"},
      {kHeader + "2024/04/01,1,現金,,,110,10,売上高,,対象外,110,,\n2024/04/"
                 "01,2,現金,,対象外,110,10,売上高,,,110,,\n",
       "{}", "b.csv:3: debit side: a tax of 10 under the untaxed class '対象外'"},
      {kHeader + "2024/02/30,1,現金,,,1,,売上高,,,1,,\n", "{}", "b.csv:2: '2024/02/30' is not a date"},
      {kHeader + "2024/04/01,1,,,,5,,売上高,,,5,,\n", "{}",
       "b.csv:2: debit side: an amount or sub-account without an account"},
      {"日付,伝票番号,借方勘定科目,借方金額,貸方勘定科目,貸方金額\n", "{}", "b.csv:1: no column '摘要'"},
      {kHeader + "2024/04/01,1,現金,,,1,,売上高,,,1,,\"open\n", "{}",
       "b.csv:2: a quoted field is never closed"},
      {"区分," + kHeader + "2,2024/04/01,1,現金,,,1,,売上高,,,1,,\n", kinds, "b.csv:2: unknown row kind '2'"},
      {"区分," + kHeader + "0,2024/04/01,1,現金,,,1,,売上高,,,1,,\n", kinds,
       "b.csv:2: row kind '0' continues no entry"},
      {kHeader + "2024/04/01,1,現金,,,1,,売上高,,,1,,\n2024/04/02,1,現金,,,1,,売上高,,,1,,\xff\n",
       R"({"encoding": "utf-8"})", "b.csv:3: not UTF-8"},
      {velmora::test::Cp932(kHeader) + "2024/04/01,1,\x82\xa0,,,1,,\x82,,,1,,\n",
       R"({"encoding": "shift_jis"})", "b.csv:2: not Shift_JIS"},
  };
  for (const Case& c : cases) {
    int result = 1;
    const std::string message = Read(c.bytes, Layout(c.layout), result);
    EXPECT_EQ(result, 0) << c.message;
    EXPECT_EQ(message.substr(0, std::string(c.message).size()), c.message);
  }
}

TEST(CsvBooks, ColumnMapsThatCannotWork) {
  struct Case {
    const char* json;
    const char* message;
  } cases[] = {
      {R"({"encoding": "euc-jp"})", "csv.encoding"},
      {R"({"columns": {"date": 0}})", "csv.columns.date"},
      {R"({"columns": {"debit": {"amount": null}}})", "csv.columns: the date and each side"},
      {R"({"columns": {"debit": {"memo": 3}}})", "csv.columns.debit.memo"},
      {R"({"columns": {"kind": "区分"}})", "csv.startKinds"},
      {R"({"taxClasses": {"課税10%": "yes"}})", "csv.taxClasses.課税10%"},
      {R"({"header": false, "columns": {"date": 1, "debit": {"account": "借方", "amount": 3},
           "credit": {"account": 4, "amount": 5}}})",
       "csv.columns.debit.account: a column named by its header"},
      {R"({"delimiter": ";;"})", "csv.delimiter"},
  };
  for (const Case& c : cases) {
    CsvLayout layout;
    std::string error;
    EXPECT_EQ(ReadCsvLayout(nlohmann::json::parse(c.json), layout, error), 0) << c.json;
    EXPECT_EQ(error.substr(0, std::string(c.message).size()), c.message) << c.json;
  }
}

}  // namespace
}  // namespace orbeck::import

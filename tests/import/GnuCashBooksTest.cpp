// The GnuCash source over a book our own SQL makes (tests/data/gnucash/make-book.sql): the
// book read into books, each refusal made by one change to it, and the stored dates of new
// and old books.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>

#include "tests/import/BookRecorder.h"
#include "tests/support/TestFiles.h"
#include "tools/orbeck-import/gnucash/GnuCashBooksReader.h"
#include "tools/orbeck-import/gnucash/GnuCashDates.h"

namespace orbeck::import {
namespace {

std::string Fixture() { return velmora::test::ReadBytes(velmora::test::DataPath("gnucash/make-book.sql")); }

// The fixture book with `change` applied, read back; the books or the refusal.
std::string ReadBook(const std::string& change, const GnuCashOptions& options, int& result) {
  const std::string folder = testing::TempDir() + "velmora-gnucash-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "book.gnucash";
  std::remove(path.c_str());
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  char* message = nullptr;
  const std::string sql = "PRAGMA synchronous = OFF;" + Fixture() + change;
  const int made = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  EXPECT_EQ(made, SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
  BookRecorder books;
  std::string error;
  result = ReadGnuCashBooks(path, options, books, error);
  std::remove(path.c_str());
  std::string text = result ? books.text : error;
  for (std::size_t at; (at = text.find(folder)) != std::string::npos;) text.erase(at, folder.size());
  return result ? text : text.substr(std::string("book.gnucash:").size());
}

std::string Split(const char* guid, const char* tx, const char* account, long long num, long long denom,
                  long long quantity) {
  return "INSERT INTO splits VALUES ('" + std::string(guid) + "','" + tx + "','" + account +
         "','','','n',NULL," + std::to_string(num) + "," + std::to_string(denom) + "," +
         std::to_string(quantity) + "," + std::to_string(denom) + ",NULL);";
}

std::string Transaction(const char* guid, const char* currency, const char* date) {
  return "INSERT INTO transactions VALUES ('" + std::string(guid) + "','" + currency + "','','" + date +
         "','" + date + "','');";
}

// Cash against sales in one transaction of `date`.
std::string CashSale(const char* date, long long yen) {
  return Transaction("t-x", "c-jpy", date) + Split("s-x1", "t-x", "a-cash", yen, 1, yen) +
         Split("s-x2", "t-x", "a-sales", -yen, 1, -yen);
}

TEST(GnuCashBooks, TheFixtureBookAsBooks) {
  int result = 0;
  // Accounts by full name in byte order; the template and its transaction left out; the
  // hundredths exact; transactions by date whatever the order they were stored in.
  EXPECT_EQ(ReadBook("", {}, result),
            "account Imbalance-JPY asset\n"
            "account 収益 revenue\n"
            "account 収益:売上高 revenue\n"
            "account 純資産 equity\n"
            "account 純資産:資本金 equity\n"
            "account 負債 liability\n"
            "account 負債:カード liability\n"
            "account 負債:買掛金 liability\n"
            "account 費用 expense\n"
            "account 費用:仕入高 expense\n"
            "account 資産 asset\n"
            "account 資産:売掛金 asset\n"
            "account 資産:普通預金 asset\n"
            "account 資産:普通預金:北都銀行 asset\n"
            "account 資産:現金 asset\n"
            "20240401 [1] 設立 @book.gnucash:transactions/t-open\n"
            "  資産:普通預金:北都銀行 10000000000 @book.gnucash:splits/s-open-1\n"
            "  純資産:資本金 -10000000000 @book.gnucash:splits/s-open-2\n"
            "20240415 [2] 売上 4月分 @book.gnucash:transactions/t-sale\n"
            "  資産:売掛金 1100000000 @book.gnucash:splits/s-sale-1\n"
            "  資産:現金 1234500 @book.gnucash:splits/s-sale-2\n"
            "  収益:売上高 -1101234500 @book.gnucash:splits/s-sale-3\n"
            "20240420 [] 仕入 @book.gnucash:transactions/t-buy\n"
            "  費用:仕入高 500000000 @book.gnucash:splits/s-buy-1\n"
            "  負債:買掛金 -500000000 @book.gnucash:splits/s-buy-2\n"
            "20240425 [] 未分類 @book.gnucash:transactions/t-stray\n"
            "  資産:現金 1000000 @book.gnucash:splits/s-stray-1\n"
            "  Imbalance-JPY -1000000 @book.gnucash:splits/s-stray-2\n"
            "20240426 [] 未分類の振替 @book.gnucash:transactions/t-fixed\n"
            "  Imbalance-JPY 1000000 @book.gnucash:splits/s-fixed-1\n"
            "  負債:カード -1000000 @book.gnucash:splits/s-fixed-2\n");
}

TEST(GnuCashBooks, RefusalsNameWhatIsWrong) {
  const std::string usdAccount =
      "INSERT INTO accounts VALUES ('a-usd','Brokerage','BANK','c-usd',100,0,'a-root','','',0,0);";
  const std::string orphan =
      "INSERT INTO accounts VALUES ('a-orphan','Orphan-JPY','BANK','c-jpy',1,0,'a-root','','',0,0);";
  struct Case {
    const char* name;
    std::string change;
    const char* message;
  } cases[] = {
      {"an account in dollars",
       usdAccount + Transaction("t-x", "c-jpy", "2024-05-01 10:59:00") +
           Split("s-x1", "t-x", "a-usd", 5, 1, 5) + Split("s-x2", "t-x", "a-cash", -5, 1, -5),
       "accounts/a-usd: account 'Brokerage' is in USD, not yen"},
      {"a transaction in dollars",
       Transaction("t-x", "c-usd", "2024-05-01 10:59:00") + Split("s-x1", "t-x", "a-cash", 5, 1, 5) +
           Split("s-x2", "t-x", "a-sales", -5, 1, -5),
       "transactions/t-x: in USD, not yen"},
      {"an imbalance with a balance",
       CashSale("2024-05-01 10:59:00", 0) + "UPDATE splits SET account_guid =" +
           " 'a-imbalance', value_num = -700, quantity_num = -700 WHERE guid='s-x2';" +
           "UPDATE splits SET value_num = 700, quantity_num = 700 WHERE guid='s-x1';",
       " GnuCash imbalance or orphan accounts hold a balance (Imbalance-JPY -700)"},
      {"an orphan with a balance",
       orphan + CashSale("2024-05-01 10:59:00", 9) +
           "UPDATE splits SET account_guid = 'a-orphan' WHERE guid='s-x2';",
       " GnuCash imbalance or orphan accounts hold a balance (Orphan-JPY -9)"},
      {"an unbalanced transaction",
       CashSale("2024-05-01 10:59:00", 100) +
           "UPDATE splits SET value_num = -99, quantity_num = -99 WHERE guid='s-x2';",
       "transactions/t-x: does not balance: off by 1"},
      {"a hundred-thousandth",
       CashSale("2024-05-01 10:59:00", 1) +
           "UPDATE splits SET value_denom = 100000, quantity_denom = 100000 WHERE tx_guid='t-x';",
       "splits/s-x1: value 1/100000 has more than 4 decimals"},
      {"a price",
       CashSale("2024-05-01 10:59:00", 100) + "UPDATE splits SET quantity_num = 2 WHERE guid='s-x1';",
       "splits/s-x1: its quantity differs from its value"},
      {"an old book's date", CashSale("2024-04-30 15:00:00", 1),
       "transactions/t-x: post date '2024-04-30 15:00:00' is an old GnuCash book's local midnight"},
  };
  for (const Case& c : cases) {
    int result = 1;
    const std::string message = ReadBook(c.change, {}, result);
    EXPECT_EQ(result, 0) << c.name;
    EXPECT_EQ(message.substr(0, std::string(c.message).size()), c.message) << c.name;
  }
}

TEST(GnuCashBooks, AnOldBooksDatesWithItsTimeZone) {
  int result = 0;
  const std::string books = ReadBook(CashSale("2024-04-30 15:00:00", 1), {540}, result);
  EXPECT_NE(books.find("20240501 [] "), std::string::npos) << books;

  struct Case {
    const char* stored;
    std::optional<int> offset;
    int32_t day;  // 0: refused
  } cases[] = {
      {"2024-04-01 10:59:00", std::nullopt, 20240401},
      {"2024-04-01 10:59:00", -600, 20240401},
      {"2024-03-31 15:00:00", 540, 20240401},
      {"20240331150000", 540, 20240401},
      {"2024-04-01 05:00:00", -300, 20240401},
      {"2024-12-31 15:00:00", 540, 20250101},
      {"2024-03-31 15:00:00", std::nullopt, 0},
      {"2024-02-30 10:59:00", std::nullopt, 0},
      {"2024-04-01", 540, 0},
  };
  for (const Case& c : cases) {
    int32_t day = 0;
    std::string error;
    EXPECT_EQ(GnuCashPostDay(c.stored, c.offset, day, error), c.day != 0 ? 1 : 0) << c.stored;
    if (c.day != 0) {
      EXPECT_EQ(day, c.day) << c.stored;
    }
  }
  struct Offset {
    const char* text;
    int minutes;  // -1: refused
  } offsets[] = {{"+09:00", 540}, {"-0530", -330},    {"UTC", 0},
                 {"+9", -1},      {"Asia/Tokyo", -1}, {"+15:00", -1}};
  for (const Offset& o : offsets) {
    int minutes = 0;
    std::string error;
    EXPECT_EQ(ParseUtcOffset(o.text, minutes, error), o.minutes != -1 ? 1 : 0) << o.text;
    if (o.minutes != -1) {
      EXPECT_EQ(minutes, o.minutes) << o.text;
    }
  }
}

}  // namespace
}  // namespace orbeck::import

// orbeck-import's refusals, one case each: the message names the source line or account,
// and nothing is written. Then the consumption-tax pairing as the document's lines show it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/support/TestFiles.h"
#include "tools/orbeck-import/Import.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTypes =
    "commodity ¥1,000.\n"
    "account 資産:現金  ; type: A\n"
    "account 資産:普通預金  ; type: A\n"
    "account 収益:売上高  ; type: R\n"
    "account 費用:消耗品費  ; type: X\n"
    "account 費用:水道光熱費  ; type: X\n"
    "account 資産:仮払消費税  ; type: A\n"
    "account 負債:仮受消費税  ; type: L\n";

constexpr const char* kMinimalMap =
    R"({"format":"orbeck-import-map","version":1,"company":{"periodStart":"2024-04-01"}})";

// A hand-made stand-in for `hledger print -O json` of one transaction of two postings.
std::string SavedJson(const std::string& first, const std::string& second) {
  auto posting = [](const std::string& account, const std::string& mantissa) {
    return R"({"paccount":")" + account +
           R"(","pamount":[{"acommodity":"¥","aprice":null,"aquantity":)"
           R"({"decimalMantissa":)" +
           mantissa + R"(,"decimalPlaces":0,"floatingPoint":0}}],"ptags":[]})";
  };
  return R"([{"tdate":"2024-05-01","tcode":"","tdescription":"x","tpostings":[)" +
         posting("資産:現金", first) + "," + posting("収益:売上高", second) +
         R"(],"tsourcepos":[{"sourceColumn":1,"sourceLine":7,"sourceName":"b.journal"},)"
         R"({"sourceColumn":1,"sourceLine":9,"sourceName":"b.journal"}]}])";
}

class ImportFiles {
 public:
  ImportFiles() {
    // CTest runs each case in a process of its own, several at once: the case's own name
    // keeps their folders apart.
    static int count = 0;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name)
      if (c == '/') c = '-';
    dir_ = fs::temp_directory_path() / ("import-test-" + name + "-" + std::to_string(++count));
    fs::create_directories(dir_);
  }
  ~ImportFiles() { fs::remove_all(dir_); }
  fs::path Write(const std::string& name, const std::string& text) const {
    velmora::test::WriteBytes(dir_ / name, text);
    return dir_ / name;
  }
  fs::path Out() const { return dir_ / "out.json"; }

 private:
  fs::path dir_;
};

struct Refusal {
  const char* name;
  std::string booksFile;  // the extension says the source
  std::string books;
  std::string map;
  std::string expected;  // parts of the message, in order, separated by '|'
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

class ImportRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ImportRefusal, NamesTheFaultAndWritesNothing) {
  const Refusal& c = GetParam();
  ImportFiles files;
  orbeck::import::ImportOptions options;
  options.books = files.Write(c.booksFile, c.books);
  options.map = files.Write("map.json", c.map);
  options.json = files.Out();
  std::ostringstream explain;
  std::string error;
  EXPECT_EQ(0, orbeck::import::RunImport(options, explain, error));
  std::size_t at = 0;
  for (std::size_t start = 0; start <= c.expected.size();) {
    std::size_t bar = std::min(c.expected.find('|', start), c.expected.size());
    at = error.find(c.expected.substr(start, bar - start), at);
    EXPECT_NE(std::string::npos, at) << error;
    if (at == std::string::npos) break;
    start = bar + 1;
  }
  EXPECT_FALSE(fs::exists(files.Out()));
  if (c.expected.find('\n') == std::string::npos) {
    EXPECT_EQ(std::string::npos, error.find('\n')) << error;
  }
}

std::string Journal(const std::string& entries) { return std::string(kTypes) + "\n" + entries; }

std::string MapWith(const std::string& rules) {
  return R"({"format":"orbeck-import-map","version":1,"company":{"periodStart":"2024-04-01"},"accounts":[)" +
         rules + "]}";
}

INSTANTIATE_TEST_SUITE_P(
    EachOne, ImportRefusal,
    ::testing::Values(
        Refusal{"Unbalanced", "b.json", SavedJson("1000", "-999"), kMinimalMap,
                "b.journal:7: the entry does not balance (off by 1 yen)"},
        Refusal{"AmountBeyondInt64", "b.json", SavedJson("99999999999999999999", "-99999999999999999999"),
                kMinimalMap, "b.journal:7: an amount too large in 資産:現金"},
        Refusal{"OtherCurrency", "b.journal", Journal("2024-05-01 x\n  資産:現金  USD 10\n  収益:売上高\n"),
                kMinimalMap, "b.journal:10: the currency \"USD\""},
        Refusal{"Price", "b.journal", Journal("2024-05-01 x\n  資産:現金  ¥1,000 @ USD 7\n  収益:売上高\n"),
                kMinimalMap, "b.journal:10: a price or cost"},
        Refusal{
            "VirtualPosting", "b.journal",
            Journal("2024-05-01 x\n  資産:現金  ¥10\n  収益:売上高\n  (資産:普通預金)  ¥5\n"), kMinimalMap,
            "b.journal:10: a virtual posting in parentheses, 資産:普通預金, which balances against nothing"},
        Refusal{"FiveDecimals", "b.journal", Journal("2024-05-01 x\n  資産:現金  ¥1.23456\n  収益:売上高\n"),
                kMinimalMap, "b.journal:10: more than 4 decimals in 資産:現金"},
        Refusal{"UnplacedAllListed", "b.journal",
                Journal("2024-05-01 x\n  資産:謎の口座  ¥10\n  資産:現金  ¥10\n  収益:不明\n"), kMinimalMap,
                "2 accounts with activity that the map does not place:\n  資産:謎の口座 (|b.journal:10)\n  "
                "収益:不明 ("},
        Refusal{"AgainstItsType", "b.journal", Journal("2024-05-01 x\n  費用:消耗品費  ¥10\n  資産:現金\n"),
                MapWith(R"({"account":"費用:消耗品費","section":"bs.current.other"})"),
                "b.journal:10: 費用:消耗品費 is an account of type expense, mapped by /accounts/0 to "
                "bs.current.other"},
        Refusal{"NoCodePage932Form", "b.journal",
                Journal("2024-05-01 x\n  資産:現金:🍣  ¥10\n  収益:売上高\n"), kMinimalMap,
                "b.journal:10: the sub-account name \"🍣\" has no code page 932 form"},
        Refusal{
            "NameOverItsBytes", "b.journal", Journal("2024-05-01 x\n  費用:消耗品費  ¥10\n  資産:現金\n"),
            MapWith(
                R"({"account":"費用:消耗品費","section":"pl.sga","name":"とても長い名前の消耗品費の勘定科目"})"),
            "the account name \"とても長い名前の消耗品費の勘定科目\" is 34 bytes in code page 932, over 30"},
        Refusal{"DescriptionOverItsBytes", "b.journal",
                Journal("2024-05-01 " + std::string(61, 'x') + "\n  資産:現金  ¥10\n  収益:売上高\n"),
                kMinimalMap, "b.journal:10: the description \"" + std::string(61, 'x') + "\" is 61 bytes"},
        Refusal{"AccountNumberOver9999", "b.journal",
                Journal("2024-05-01 x\n  資産:現金  ¥10\n  収益:売上高\n"),
                MapWith(R"({"account":"資産:現金","section":"bs.current.cash","number":10000})"),
                "map.json: /accounts/0/number: an account number is 1 to 9999"},
        Refusal{"NotASectionKey", "b.journal", Journal("2024-05-01 x\n  資産:現金  ¥10\n  収益:売上高\n"),
                MapWith(R"({"account":"資産:現金","section":"bs.cash"})"),
                "/accounts/0/section: not a section key"},
        Refusal{"NamesOnlyWhereTheTypeAgrees", "b.journal",
                Journal("2024-05-01 x\n  expenses:現金  ¥10\n  雑:現金  ¥10\n  資産:現金\n"), kMinimalMap,
                "2 accounts with activity that the map does not place:\n  expenses:現金 (|\n  雑:現金 ("},
        Refusal{"NoPeriod", "b.journal", Journal(""), R"({"format":"orbeck-import-map","version":1})",
                "the fiscal period is not given"}),
    [](const ::testing::TestParamInfo<Refusal>& param) { return std::string(param.param.name); });

TEST(ImportSource, WithoutHledgerSaysWhatToInstall) {
  ImportFiles files;
  orbeck::import::ImportOptions options;
  options.books = files.Write("b.journal", Journal(""));
  options.map = files.Write("map.json", kMinimalMap);
  options.json = files.Out();
  const char* path = std::getenv("PATH");
  std::string saved = path ? path : "";
  ::setenv("PATH", "/nonexistent", 1);
  std::ostringstream explain;
  std::string error;
  int result = orbeck::import::RunImport(options, explain, error);
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(0, result);
  EXPECT_NE(std::string::npos, error.find("apt-get install hledger")) << error;
}

// --home loads all or nothing: a refusal of the books, or of the document by the loader,
// leaves the store that was there byte for byte.
TEST(ImportHome, ARefusalLeavesTheStoreAsItWas) {
  ImportFiles files;
  orbeck::import::ImportOptions options;
  options.books = files.Write("b.journal", Journal("2024-05-01 x\n  資産:現金  ¥10\n  収益:売上高\n"));
  options.map = files.Write("map.json", kMinimalMap);
  options.home = files.Out().parent_path() / "home";
  std::ostringstream explain;
  std::string error;
  ASSERT_EQ(1, orbeck::import::RunImport(options, explain, error)) << error;
  const std::string store = velmora::test::ReadBytes(*options.home / "orbeck.db");
  ASSERT_FALSE(store.empty());

  orbeck::import::ImportOptions unbalanced = options;
  unbalanced.books = files.Write("u.json", SavedJson("10", "-9"));
  EXPECT_EQ(0, orbeck::import::RunImport(unbalanced, explain, error));
  orbeck::import::ImportOptions refusedByTheLoader = options;
  refusedByTheLoader.dataId = "データ";
  EXPECT_EQ(0, orbeck::import::RunImport(refusedByTheLoader, explain, error));
  EXPECT_EQ(0u, error.rfind("the host data refused: ", 0)) << error;
  EXPECT_TRUE(store == velmora::test::ReadBytes(*options.home / "orbeck.db"));
}

// Placement as --explain shows it: the first rule that matches wins, an exact path takes
// the paths below it as sub-accounts or folds them, a pattern makes each path an account,
// and the standard names place the rest.
TEST(ImportPlacement, FirstMatchWinsAndSubAccountsAsTheRuleSays) {
  ImportFiles files;
  orbeck::import::ImportOptions options;
  options.books = files.Write("b.journal", Journal("2024-05-01 x\n"
                                                   "  資産:普通預金:北都  ¥10\n"
                                                   "  資産:普通預金:東和:別段  ¥10\n"
                                                   "  費用:消耗品費:事務用  ¥5\n"
                                                   "  費用:消耗品費:工場用  ¥5\n"
                                                   "  費用:水道光熱費  ¥5\n"
                                                   "  資産:現金\n"));
  options.map = files.Write(
      "map.json",
      MapWith(R"({"account":"資産:普通預金","section":"bs.current.cash","number":1130},)"
              R"({"pattern":"^資産:普通預金:.*","section":"bs.current.other"},)"
              R"({"account":"費用:消耗品費","section":"pl.sga","subAccounts":"merge","name":"消耗品"},)"
              R"({"pattern":"^費用:.*費$","section":"pl.nonoperating.expense"})"));
  options.explain = true;
  std::ostringstream explain;
  std::string error;
  ASSERT_EQ(1, orbeck::import::RunImport(options, explain, error)) << error;
  EXPECT_EQ(
      "資産:普通預金:北都 → bs.current.cash → 11300001 普通預金 / 北都 → 貸借対照表 / 流動資産  (map "
      "/accounts/0)\n"
      "資産:普通預金:東和:別段 → bs.current.cash → 11300002 普通預金 / 東和 → 貸借対照表 / 流動資産  (map "
      "/accounts/0)\n"
      "費用:消耗品費:事務用 → pl.sga → 74000000 消耗品 → 損益計算書 / 販売費及び一般管理費  (map "
      "/accounts/2)\n"
      "費用:消耗品費:工場用 → pl.sga → 74000000 消耗品 → 損益計算書 / 販売費及び一般管理費  (map "
      "/accounts/2)\n"
      "費用:水道光熱費 → pl.nonoperating.expense → 82000000 水道光熱費 → 損益計算書 / 営業外費用  (map "
      "/accounts/3)\n"
      "資産:現金 → bs.current.cash → 11000000 現金 → 貸借対照表 / 流動資産  (the name 現金)\n",
      explain.str());
}

// The consumption-tax pairing: the lines of each journal as the document writes them.
struct Pairing {
  const char* name;
  std::string entry;
  nlohmann::json lines;  // the journal's lines, description and counterKind left out
};

void PrintTo(const Pairing& pairing, std::ostream* out) { *out << pairing.name; }

class ImportTaxPairing : public ::testing::TestWithParam<Pairing> {};

TEST_P(ImportTaxPairing, BecomesTheLinesTaxOnlyWhenUnambiguous) {
  const Pairing& c = GetParam();
  ImportFiles files;
  orbeck::import::ImportOptions options;
  options.books = files.Write("b.journal", Journal(c.entry));
  options.map = files.Write("map.json", kMinimalMap);
  options.json = files.Out();
  std::ostringstream explain;
  std::string error;
  ASSERT_EQ(1, orbeck::import::RunImport(options, explain, error)) << error;
  std::ifstream in(files.Out());
  nlohmann::json document = nlohmann::json::parse(in);
  nlohmann::json lines = document["data"][0]["journals"][0]["lines"];
  for (nlohmann::json& line : lines) {
    line.erase("description");
    line.erase("counterKind");
  }
  EXPECT_EQ(c.lines, lines) << lines.dump();
}

// Codes as the chart numbers them: 現金 1100, 普通預金 1101, 仮払消費税 1890, 仮受消費税 4440,
// 売上高 7100, 消耗品費 7400, 水道光熱費 7401 (in order of appearance within each section).
INSTANTIATE_TEST_SUITE_P(
    Cases, ImportTaxPairing,
    ::testing::Values(
        Pairing{"InputTaxWithOneLine",
                "2024-05-01 x\n  費用:消耗品費  ¥1,000\n  資産:仮払消費税  ¥100\n  資産:現金\n",
                nlohmann::json::parse(R"([{"debit":74000000,"debitAmount":"1000","debitTax":"100",
                                           "credit":11000000,"creditAmount":"1100"}])")},
        Pairing{"OutputTaxWithOneLine",
                "2024-05-01 x\n  資産:現金  ¥2,200\n  収益:売上高  ¥-2,000\n  負債:仮受消費税  ¥-200\n",
                nlohmann::json::parse(R"([{"debit":11000000,"debitAmount":"2200",
                                           "credit":71000000,"creditAmount":"2000","creditTax":"200"}])")},
        Pairing{"TwoLinesOneTaxStaysItsOwnLine",
                "2024-05-01 x\n  費用:消耗品費  ¥1,000\n  費用:水道光熱費  ¥500\n  資産:仮払消費税  ¥150\n  "
                "資産:現金\n",
                nlohmann::json::parse(
                    R"([{"debit":74000000,"debitAmount":"1000"},{"debit":74010000,"debitAmount":"500"},
                                          {"debit":18900000,"debitAmount":"150"},{"credit":11000000,"creditAmount":"1650"}])")},
        Pairing{"TaxOnTheOtherSideStaysItsOwnLine",
                "2024-05-01 x\n  資産:現金  ¥1,100\n  費用:消耗品費  ¥-1,000\n  資産:仮払消費税  ¥-100\n",
                nlohmann::json::parse(
                    R"([{"debit":11000000,"debitAmount":"1100"},{"credit":74000000,"creditAmount":"1000"},
                                          {"credit":18900000,"creditAmount":"100"}])")}),
    [](const ::testing::TestParamInfo<Pairing>& param) { return std::string(param.param.name); });

}  // namespace

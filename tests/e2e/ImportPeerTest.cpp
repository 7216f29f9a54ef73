// Imported books checked against a real peer: each book goes through orbeck-import and a
// whole run of the program, and every statement item of the document equals what hledger's
// own `bal` gives for the accounts the map places there, cut to whole yen as the writer
// cuts. 繰越利益剰余金 and 当期製品製造原価 differ from any one hledger account by
// construction and are checked as identities (opening + net income; the manufacturing
// total), with their parts again against hledger. velmora-inspect's check passes.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/app/RunFixture.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/ExpectHoldsTogether.h"
#include "tools/orbeck-import/Import.h"

namespace fs = std::filesystem;
using velmora::test::RunFixture;
using velmora::test::SourcePath;

namespace {

std::string Output(const std::string& command) { return velmora::test::CaptureCommand(command).output; }

// hledger's total of `bal` with the arguments, in ten-thousandths of a yen.
int64_t HledgerTotal(const fs::path& journal, const std::string& arguments) {
  std::string json = Output("hledger bal -f '" + journal.string() + "' " + arguments + " -O json");
  nlohmann::json report = nlohmann::json::parse(json, nullptr, false);
  EXPECT_TRUE(report.is_array()) << arguments << ": " << json;
  if (!report.is_array()) return 0;
  int64_t total = 0;
  for (const nlohmann::json& amount : report[1]) {
    int64_t mantissa = amount["aquantity"]["decimalMantissa"].get<int64_t>();
    for (int places = amount["aquantity"]["decimalPlaces"].get<int>(); places < 4; ++places) mantissa *= 10;
    total += mantissa;
  }
  return total;
}

// The document in UTF-8 by iconv, and its statement texts by element.
struct Document {
  std::string text;
  // "Statement/Label" -> amount text of each Item; "Element" -> Amount of a section or total.
  std::map<std::string, std::string> items, amounts;
};

Document ReadDocument(const fs::path& file) {
  Document document;
  document.text = Output("iconv -f SHIFT_JIS -t UTF-8 '" + file.string() + "'");
  static const std::regex statement(R"(<(BalanceSheet|IncomeStatement|ScheduleCostGoodsManufactured)>)");
  static const std::regex item(R"re(<Item Label="([^"]*)">(-?[0-9]+)</Item>)re");
  static const std::regex total(R"re(<(\w+) Label="[^"]*" Amount="(-?[0-9]*)")re");
  static const std::regex element(R"(<(\w+)>(-?[0-9]+)</\w+>)");
  std::istringstream lines(document.text);
  std::string line, current;
  for (std::smatch m; std::getline(lines, line);) {
    if (std::regex_search(line, m, statement)) current = m[1];
    if (line.find("<HJ00780S>") != std::string::npos) current.clear();
    if (!current.empty() && std::regex_search(line, m, item)) {
      EXPECT_EQ(0u, document.items.count(current + "/" + m[1].str())) << "two items " << m[1];
      document.items[current + "/" + m[1].str()] = m[2];
    }
    if (std::regex_search(line, m, total)) document.amounts[m[1]] = m[2].str().empty() ? "0" : m[2].str();
    if (std::regex_search(line, m, element) && document.amounts.count(m[1]) == 0)
      document.amounts[m[1]] = m[2];
  }
  return document;
}

// An element of a component of the statement of changes in net assets; "0" when absent.
std::string ChangesOf(const std::string& text, const std::string& component, const std::string& element) {
  std::size_t start = text.find("<AccountList>" + component + "</AccountList>");
  if (start == std::string::npos) return "0";
  std::string block = text.substr(start, text.find("</ChangesNetAssetsItem>", start) - start);
  std::smatch m;
  if (!std::regex_search(block, m, std::regex("<" + element + ">(-?[0-9]+)</"))) return "0";
  return m[1];
}

std::string Yen(int64_t tenThousandths) { return std::to_string(tenThousandths / 10000); }

// One statement item and the hledger query of the accounts the map places there.
struct Expected {
  const char* item;   // "Statement/Label"
  std::string query;  // hledger account query
  int sign;           // +1 debit-balance, -1 credit-balance
};

struct Book {
  const char* name;
  const char* journal;
  const char* map;
  const char* start;          // the fiscal period, as hledger's -b and -e take it
  const char* after;          // the day after its end
  const char* profitAndLoss;  // query of every revenue and expense account
  const char* manufacturing;  // query of the manufacturing accounts
  const char* retained;       // query of the opening of 繰越利益剰余金: earlier P&L
  std::vector<Expected> expected;
};

void PrintTo(const Book& book, std::ostream* out) { *out << book.name; }

constexpr const char* kBS = "BalanceSheet/";

void ExpectAgreesWithHledger(const Book& book, const fs::path& journal, const fs::path& map) {
  fs::path json = fs::temp_directory_path() / (std::string("import-peer-") + book.name + ".json");
  {
    orbeck::import::ImportOptions options;
    options.books = journal;
    options.map = map;
    options.json = json;
    std::ostringstream explain;
    std::string error;
    ASSERT_EQ(1, orbeck::import::RunImport(options, explain, error)) << error;
  }
  std::ifstream in(json);
  nlohmann::json company = nlohmann::json::parse(in);
  fs::remove(json);
  RunFixture run(company);
  ASSERT_TRUE(run.host.loaded());
  ASSERT_EQ(0, run.Run("", velmora::test::ExecuteScript("import.xml")));
  const fs::path file = run.COut() / "import.xml";
  inspect::test::ExpectHoldsTogether(file);
  Document document = ReadDocument(file);

  const std::string period = std::string("-b ") + book.start + " -e " + book.after;
  const std::string closing = std::string("-e ") + book.after;
  std::map<std::string, bool> seen;
  for (const Expected& e : book.expected) {
    bool balanceSheet = std::string(e.item).rfind(kBS, 0) == 0;
    int64_t balance =
        e.sign * HledgerTotal(journal, (balanceSheet ? closing : period) + " '" + e.query + "'");
    std::string want = Yen(balance);
    auto found = document.items.find(e.item);
    if (want == "0") {
      EXPECT_EQ(document.items.end(), found) << e.item << " is zero in hledger";
    } else {
      EXPECT_NE(document.items.end(), found) << e.item << " missing; hledger: " << want;
      if (found != document.items.end()) {
        EXPECT_EQ(want, found->second) << e.item;
      }
    }
    seen[e.item] = true;
  }
  // The identities, their parts against hledger.
  int64_t netIncome = -HledgerTotal(journal, period + " '" + book.profitAndLoss + "'");
  EXPECT_EQ(Yen(netIncome), document.amounts["NetIncome"]);
  int64_t opening = -HledgerTotal(journal, std::string("-e ") + book.start + " '" + book.retained + "'");
  const std::string retained = std::string(kBS) + "繰越利益剰余金";
  EXPECT_EQ(Yen(opening + netIncome), document.items[retained]);
  EXPECT_EQ(Yen(opening), ChangesOf(document.text, "繰越利益剰余金", "BalanceEndPreviousPeriod"));
  EXPECT_EQ(Yen(opening + netIncome), ChangesOf(document.text, "繰越利益剰余金", "BalanceEndCurrentPeriod"));
  seen[retained] = true;
  if (book.manufacturing != nullptr) {
    int64_t manufactured = HledgerTotal(journal, period + " '" + book.manufacturing + "'");
    EXPECT_EQ(Yen(manufactured), document.amounts["CostFinishedGoods"]);
    EXPECT_EQ(Yen(manufactured), document.items["IncomeStatement/当期製品製造原価"]);
    seen["IncomeStatement/当期製品製造原価"] = true;
  }
  for (const auto& [item, amount] : document.items)
    EXPECT_TRUE(seen[item]) << "unexpected item " << item << " " << amount;
}

class ImportPeer : public ::testing::TestWithParam<Book> {};

TEST_P(ImportPeer, EveryItemEqualsHledgersBalance) {
  ExpectAgreesWithHledger(GetParam(), SourcePath(GetParam().journal), SourcePath(GetParam().map));
}

INSTANTIATE_TEST_SUITE_P(
    Books, ImportPeer,
    ::testing::Values(
        Book{"example",
             "data/example-books.journal",
             "data/example-books.map.json",
             "2024-04-01",
             "2025-04-01",
             "^(収益|費用)(:|$)",
             "^費用:製造原価(:|$)",
             "^(収益|費用|純資産:繰越利益剰余金)(:|$)",
             {
                 {"BalanceSheet/現金", "^資産:現金(:|$)", 1},
                 {"BalanceSheet/普通預金", "^資産:普通預金(:|$)", 1},
                 {"BalanceSheet/売掛金", "^資産:売掛金(:|$)", 1},
                 {"BalanceSheet/原材料", "^資産:原材料(:|$)", 1},
                 {"BalanceSheet/仮払消費税", "^資産:仮払消費税(:|$)", 1},
                 {"BalanceSheet/機械装置", "^資産:機械装置(:|$)", 1},
                 {"BalanceSheet/買掛金", "^負債:買掛金(:|$)", -1},
                 {"BalanceSheet/未払金", "^負債:未払金(:|$)", -1},
                 {"BalanceSheet/仮受消費税", "^負債:仮受消費税(:|$)", -1},
                 {"BalanceSheet/未払消費税等", "^負債:未払消費税等(:|$)", -1},
                 {"BalanceSheet/長期借入金", "^負債:長期借入金(:|$)", -1},
                 {"BalanceSheet/資本金", "^純資産:資本金(:|$)", -1},
                 {"IncomeStatement/製品売上高", "^収益:製品売上高(:|$)", -1},
                 {"IncomeStatement/受取利息", "^収益:受取利息(:|$)", -1},
                 {"IncomeStatement/給料手当", "^費用:給料手当(:|$)", 1},
                 {"IncomeStatement/地代家賃", "^費用:地代家賃(:|$)", 1},
                 {"IncomeStatement/通信費", "^費用:通信費(:|$)", 1},
                 {"IncomeStatement/支払利息", "^費用:支払利息(:|$)", 1},
                 {"IncomeStatement/法人税、住民税及び事業税", "^費用:法人税、住民税及び事業税(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/材料仕入高", "^費用:製造原価:材料仕入高(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/賃金", "^費用:製造原価:賃金(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/電力料", "^費用:製造原価:電力料(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/減価償却費", "^費用:製造原価:減価償却費(:|$)", 1},
             }},
        Book{"workshop",
             "tests/data/import/workshop.journal",
             "tests/data/import/workshop.map.json",
             "2025-04-01",
             "2026-04-01",
             "^(収益|費用)(:|$)",
             "^費用:製造(:|$)",
             "^(収益|費用)(:|$)",
             {
                 {"BalanceSheet/普通預金", "^assets:bank(:|$)", 1},
                 {"BalanceSheet/現金", "^資産:現金(:|$)", 1},
                 {"BalanceSheet/売掛金", "^資産:売掛金(:|$)", 1},
                 {"BalanceSheet/製品", "^資産:製品(:|$)", 1},
                 {"BalanceSheet/仕掛品", "^資産:仕掛品(:|$)", 1},
                 {"BalanceSheet/仮払消費税", "^資産:仮払消費税(:|$)", 1},
                 {"BalanceSheet/工具器具備品", "^資産:工具器具備品(:|$)", 1},
                 {"BalanceSheet/買掛金", "^負債:買掛金(:|$)", -1},
                 {"BalanceSheet/預り金", "^負債:預り金(:|$)", -1},
                 {"BalanceSheet/仮受消費税", "^負債:仮受消費税(:|$)", -1},
                 {"BalanceSheet/未払消費税等", "^負債:未払消費税等(:|$)", -1},
                 {"BalanceSheet/資本金", "^純資産:資本金(:|$)", -1},
                 {"IncomeStatement/売上高", "^収益:売上高(:|$)", -1},
                 {"IncomeStatement/雑収入", "^収益:雑収入(:|$)", -1},
                 {"IncomeStatement/期首製品棚卸高", "^費用:期首製品棚卸高(:|$)", 1},
                 {"IncomeStatement/期末製品棚卸高", "^費用:期末製品棚卸高(:|$)", 1},
                 {"IncomeStatement/給料手当", "^費用:給料手当(:|$)", 1},
                 {"IncomeStatement/旅費交通費", "^費用:旅費(:|$)", 1},
                 {"IncomeStatement/消耗品費", "^費用:消耗品費(:|$)", 1},
                 {"IncomeStatement/固定資産除却損", "^費用:固定資産除却損(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/材料仕入高", "^費用:製造:材料仕入高(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/賃金", "^費用:製造:賃金(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/外注加工費", "^費用:製造:外注加工費(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/外注塗装費", "^費用:製造:外注塗装費(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/期首仕掛品棚卸高", "^費用:製造:期首仕掛品棚卸高(:|$)", 1},
                 {"ScheduleCostGoodsManufactured/期末仕掛品棚卸高", "^費用:製造:期末仕掛品棚卸高(:|$)", 1},
             }}),
    [](const ::testing::TestParamInfo<Book>& param) { return std::string(param.param.name); });

// A generated book: two years of random entries (sales and purchases with their tax,
// collections, payroll in one compound entry, expenses of two lines under one tax,
// fractions of a yen) on a chart the standard names place, sub-accounts by customer,
// supplier and bank. Its expectations come from the chart below, not from the importer.
struct Generated {
  std::string journal;
  std::vector<Expected> expected;
};

struct ChartAccount {
  const char* path;
  const char* tag;
  const char* item;
  int sign;
};

constexpr ChartAccount kGeneratedChart[] = {
    {"資産:現金", "A", "BalanceSheet/現金", 1},
    {"資産:普通預金", "A", "BalanceSheet/普通預金", 1},
    {"資産:売掛金", "A", "BalanceSheet/売掛金", 1},
    {"資産:仮払消費税", "A", "BalanceSheet/仮払消費税", 1},
    {"資産:工具器具備品", "A", "BalanceSheet/工具器具備品", 1},
    {"負債:買掛金", "L", "BalanceSheet/買掛金", -1},
    {"負債:預り金", "L", "BalanceSheet/預り金", -1},
    {"負債:仮受消費税", "L", "BalanceSheet/仮受消費税", -1},
    {"純資産:資本金", "E", "BalanceSheet/資本金", -1},
    {"収益:売上高", "R", "IncomeStatement/売上高", -1},
    {"収益:受取利息", "R", "IncomeStatement/受取利息", -1},
    {"費用:給料手当", "X", "IncomeStatement/給料手当", 1},
    {"費用:消耗品費", "X", "IncomeStatement/消耗品費", 1},
    {"費用:水道光熱費", "X", "IncomeStatement/水道光熱費", 1},
    {"費用:支払利息", "X", "IncomeStatement/支払利息", 1},
    {"費用:製造:材料仕入高", "X", "ScheduleCostGoodsManufactured/材料仕入高", 1},
    {"費用:製造:賃金", "X", "ScheduleCostGoodsManufactured/賃金", 1},
    {"費用:製造:修繕費", "X", "ScheduleCostGoodsManufactured/修繕費", 1},
};

Generated GenerateBook(unsigned seed, int entries) {
  std::mt19937 random(seed);
  auto yen = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto money = [](int64_t hundredths) {
    int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    std::string text = (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100);
    if (magnitude % 100 != 0) text += "." + std::to_string(magnitude % 100 + 100).substr(1);
    return "¥" + text;
  };
  std::ostringstream j;
  j << "commodity ¥1,000.\n";
  for (const ChartAccount& a : kGeneratedChart) j << "account " << a.path << "  ; type: " << a.tag << "\n";
  j << "\n2024-04-01 設立\n    資産:普通預金:銀行1  ¥30,000,000\n    純資産:資本金\n\n"
    << "2024-04-02 工具購入\n    資産:工具器具備品  ¥2,000,000\n    資産:仮払消費税  ¥200,000\n    "
       "資産:普通預金:銀行2\n\n";
  for (int i = 0; i < entries; ++i) {
    int day = i * 700 / entries;  // two years from 2024-04-03
    int month = 4 + day / 29, year = 2024 + (month - 1) / 12;
    month = (month - 1) % 12 + 1;
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, 3 + day % 25);
    int64_t net = yen(1000, 900000) * 100 + (i % 4 == 0 ? 50 : 0);
    int64_t tax = net / 1000 * 100;
    switch (i % 6) {
      case 0:
        j << date << " 売上 " << i << "\n    資産:売掛金:得意先" << i % 5 << "  " << money(net + tax)
          << "\n    収益:売上高  " << money(-net) << "\n    負債:仮受消費税  " << money(-tax) << "\n\n";
        break;
      case 1:
        j << date << " 入金 " << i << "\n    資産:普通預金:銀行" << i % 3 << "  " << money(net)
          << "\n    資産:売掛金:得意先" << i % 5 << "\n\n";
        break;
      case 2:
        j << date << " 材料 " << i << "\n    費用:製造:材料仕入高  " << money(net)
          << "\n    資産:仮払消費税  " << money(tax) << "\n    負債:買掛金:仕入先" << i % 3 << "\n\n";
        break;
      case 3:
        j << date << " 給与 " << i << "\n    費用:製造:賃金  " << money(net) << "\n    費用:給料手当  "
          << money(net / 2) << "\n    負債:預り金  " << money(-net / 10) << "\n    資産:普通預金:銀行0\n\n";
        break;
      case 4:
        j << date << " 経費 " << i << "\n    費用:消耗品費  " << money(net / 3) << "\n    費用:水道光熱費  "
          << money(net / 5) << "\n    費用:製造:修繕費  " << money(net / 7) << "\n    資産:仮払消費税  "
          << money(net / 100 * 10) << "\n    資産:現金\n\n";
        break;
      default:
        j << date << " 資金 " << i << "\n    資産:現金  " << money(net / 4) << "\n    費用:支払利息  "
          << money(1234) << "\n    収益:受取利息  " << money(-1000) << "\n    資産:普通預金:銀行" << i % 3
          << "\n\n";
        break;
    }
  }
  Generated book;
  book.journal = j.str();
  for (const ChartAccount& a : kGeneratedChart)
    book.expected.push_back(Expected{a.item, std::string("^") + a.path + "(:|$)", a.sign});
  return book;
}

TEST(ImportPeerGenerated, EveryItemEqualsHledgersBalance) {
  // A folder of this run's own: another run of the suite may be at the same step.
  std::string pattern = (fs::temp_directory_path() / "import-peer-generated-XXXXXX").string();
  ASSERT_NE(nullptr, mkdtemp(pattern.data()));
  const fs::path dir = pattern;
  const fs::path map = dir / "map.json";
  std::ofstream(map)
      << R"({"format":"orbeck-import-map","version":1,"company":{"periodStart":"2025-04-01"}})";
  for (unsigned seed : {1u, 2u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Generated generated = GenerateBook(seed, 240);
    const fs::path journal = dir / ("generated-" + std::to_string(seed) + ".journal");
    std::ofstream(journal) << generated.journal;
    Book book{"generated",
              "",
              "",
              "2025-04-01",
              "2026-04-01",
              "^(収益|費用)(:|$)",
              "^費用:製造(:|$)",
              "^(収益|費用)(:|$)",
              generated.expected};
    ExpectAgreesWithHledger(book, journal, map);
  }
  fs::remove_all(dir);
}

}  // namespace

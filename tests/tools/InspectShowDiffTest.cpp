// show and diff on the demo company's document and on a modified copy of it, and the
// executable's exit codes for the three commands.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <set>
#include <sstream>

#include "tests/tools/InspectFiles.h"
#include "tools/velmora-inspect/Diff.h"
#include "tools/velmora-inspect/Report.h"
#include "tools/velmora-inspect/Show.h"
#include "tools/velmora-inspect/TextTable.h"

namespace inspect::test {
namespace {

std::string Replace(std::string bytes, const std::string& from, const std::string& to) {
  const std::size_t at = bytes.find(from);
  EXPECT_NE(std::string::npos, at) << from;
  if (at != std::string::npos) bytes.replace(at, from.size(), to);
  return bytes;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The demo company with one item changed, one gone, one new, the company renamed and the
// first posting of the ledger's second account removed.
std::string ModifiedDemo() {
  std::string d = ReadBytes(Golden("e2e/demo-company.xml"));
  d = Replace(d, Cp932("普通預金\">75286900<"), Cp932("普通預金\">75296900<"));
  d = Replace(d, Cp932("\t\t\t\t\t<Item Label=\"前払費用\">450000</Item>\r\n"), "");
  d = Replace(d, Cp932("\t\t\t\t\t<Item Label=\"未払費用\">96000</Item>\r\n"),
              Cp932("\t\t\t\t\t<Item Label=\"未払費用\">96000</Item>\r\n\t\t\t\t\t<Item "
                    "Label=\"仮受金\">5000</Item>\r\n"));
  d = Replace(d, Cp932("株式会社北斗精機"), Cp932("株式会社北斗精機工業"));
  const std::size_t second = d.find("<HJ00780S01>", d.find("<HJ00780S01>") + 1);
  const std::size_t begin = d.rfind('\n', d.find("<HJ00780S02>", second)) + 1;
  return d.erase(begin, d.find("</HJ00780S02>\r\n", begin) + 15 - begin);
}

TEST(InspectText, WidthsAndSeparators) {
  const struct {
    const char* text;
    int cells;
  } widths[] = {
      {"", 0}, {"Cash", 4}, {"現金", 4}, {"ｿﾌﾄ", 3}, {"A社ｿﾌﾄ", 6}, {"１２", 4}, {"評価･換算差額等", 15}};
  for (const auto& w : widths) EXPECT_EQ(w.cells, DisplayWidth(w.text)) << w.text;
  EXPECT_EQ("現金  ", FitLeft("現金", 6));
  EXPECT_EQ("  現金", FitRight("現金", 6));
  EXPECT_EQ("現~ ", FitLeft("現金預金", 4));  // cut inside the text: never half a character
  const struct {
    std::int64_t yen;
    const char* text;
  } amounts[] = {{0, "0"},
                 {-5, "-5"},
                 {999, "999"},
                 {1000, "1,000"},
                 {-1234567, "-1,234,567"},
                 {INT64_MIN, "-9,223,372,036,854,775,808"}};
  for (const auto& a : amounts) EXPECT_EQ(a.text, WithSeparators(a.yen));
}

TEST(InspectShow, TerminalTablesLineUpInDisplayCells) {
  TempFolder folder;
  WriteBytes(folder / "modified.xml", ModifiedDemo());
  for (const auto& [document, expected] : {std::pair{Golden("e2e/demo-company.xml"), "75,286,900"},
                                           std::pair{folder / "modified.xml", "75,296,900"}}) {
    std::ostringstream shown;
    ASSERT_TRUE(ShowInTerminal(document.string(), ShowOptions{}, shown).empty());
    const std::string text = shown.str();
    EXPECT_NE(std::string::npos, text.find(expected));
    // Measured apart from the code under test: iconv's code page 932 form of a line is as
    // many bytes as the line takes cells. The amounts of a table end in one column.
    WriteBytes(folder / "shown.txt", text);
    ASSERT_EQ(0, std::system(("iconv -f UTF-8 -t CP932 '" + (folder / "shown.txt").string() + "' > '" +
                              (folder / "shown.sjis").string() + "'")
                                 .c_str()));
    std::istringstream lines(ReadBytes(folder / "shown.sjis"));
    std::string line;
    std::set<std::size_t> amountEnds;
    int tables = 0;
    while (std::getline(lines, line)) {
      if (line.rfind(Cp932("■ 貸借対照表"), 0) == 0 || line.rfind(Cp932("■ 損益計算書"), 0) == 0) ++tables;
      if (line.rfind(Cp932("■ 製造原価報告書"), 0) == 0) break;
      if (tables > 0 && std::regex_search(line, std::regex("[0-9]$"))) amountEnds.insert(line.size());
    }
    EXPECT_EQ(2, tables);
    EXPECT_EQ(1u, amountEnds.size()) << text;
  }
}

TEST(InspectShow, HtmlPageLinksEveryPartAndEveryLedgerAccount) {
  TempFolder folder;
  WriteBytes(folder / "modified.xml", ModifiedDemo());
  for (const auto& document : {Golden("e2e/demo-company.xml"), folder / "modified.xml"}) {
    const auto page = folder / "page.html";
    ASSERT_TRUE(ShowAsHtml(document.string(), page.string()).empty());
    const std::string html = ReadBytes(page);
    const std::string source = ReadBytes(document);
    EXPECT_EQ(Count(source, "<HJ00780S01>"), Count(html, "<li><a href=\"#ledger-"));
    EXPECT_EQ(Count(source, "<HJ00780S02>"), Count(html, "<tr class=\"posting\">"));
    std::smatch m;
    std::string rest = html;
    while (std::regex_search(rest, m, std::regex("href=\"#([^\"]+)\""))) {
      EXPECT_NE(std::string::npos, html.find("id=\"" + m[1].str() + "\"")) << m[1];
      rest = m.suffix();
    }
    for (const char* part :
         {"BalanceSheet", "IncomeStatement", "ScheduleCostGoodsManufactured", "changes", "notes"}) {
      EXPECT_NE(std::string::npos, html.find(std::string("<li><a href=\"#") + part + "\">")) << part;
    }
    EXPECT_NE(std::string::npos, html.find("<p>建物 45,600,000円 &amp; 土地 55,000,000円</p>"));
    EXPECT_FALSE(std::filesystem::exists(folder / "page.html.part"));
    EXPECT_FALSE(std::filesystem::exists(folder / "page.html.ledger.part"));
  }
  EXPECT_NE(std::string::npos, ReadBytes(folder / "page.html").find("<h1>株式会社北斗精機工業</h1>"));
}

TEST(InspectDiff, ListsWhatChangedAppearedAndDisappearedByLabelPath) {
  TempFolder folder;
  WriteBytes(folder / "modified.xml", ModifiedDemo());
  std::vector<Finding> problems;
  const auto demo = DiffEntries(Golden("e2e/demo-company.xml").string(), problems);
  ASSERT_TRUE(problems.empty());
  const auto modified = DiffEntries((folder / "modified.xml").string(), problems);
  ASSERT_TRUE(problems.empty());
  EXPECT_TRUE(Compare(demo, demo).empty());

  std::vector<std::string> lines;
  for (const Difference& d : Compare(demo, modified)) lines.push_back(FormatDifference(d));
  // The second ledger account's first posting (当座預金, +18,600,000 from 普通預金) is gone.
  const std::vector<std::string> expected = {
      "changed     会社名: 株式会社北斗精機 -> 株式会社北斗精機工業",
      "changed     貸借対照表 / 資産の部 / 流動資産 / 普通預金: 75,286,900 -> 75,296,900 (+10,000)",
      "disappeared 貸借対照表 / 資産の部 / 流動資産 / 前払費用: 450,000 (-450,000)",
      "changed     総勘定元帳 / 当座預金 / 増加合計: 169,060,000 -> 150,460,000 (-18,600,000)",
      "changed     総勘定元帳 / 当座預金 / 件数: 39 -> 38 (-1)",
      "appeared    貸借対照表 / 負債の部 / 流動負債 / 仮受金: 5,000 (+5,000)",
  };
  EXPECT_EQ(expected, lines);

  // Without the ledger, only the ledger's entries are gone.
  const auto plain = DiffEntries(Golden("e2e/demo-company-no-ledger.xml").string(), problems);
  for (const Difference& d : Compare(demo, plain)) {
    EXPECT_EQ(Difference::Kind::Disappeared, d.kind);
    EXPECT_EQ(0u, d.path.rfind("総勘定元帳 / ", 0)) << d.path;
  }
}

int RunTool(const std::string& arguments) {
  const int status =
      std::system((std::string(VELMORA_INSPECT_PATH) + " " + arguments + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(InspectTool, ExitCodes) {
  TempFolder folder;
  const std::string demo = Golden("e2e/demo-company.xml").string();
  const std::string modified = (folder / "modified.xml").string();
  WriteBytes(modified, ModifiedDemo());
  const std::string missing = (folder / "missing.xml").string();
  const struct {
    std::string arguments;
    int exitCode;
  } runs[] = {
      {"check " + demo, 0},
      {"check " + modified, 1},
      {"check " + missing, 2},
      {"show " + demo, 0},
      {"show " + demo + " --html " + (folder / "demo.html").string(), 0},
      {"show " + missing, 2},
      {"diff " + demo + " " + demo, 0},
      {"diff " + demo + " " + modified, 1},
      {"diff " + demo + " " + missing, 2},
      {"", 2},
      {"check", 2},
      {"compare " + demo + " " + demo, 2},
      {"--help", 0},
      {"--version", 0},
  };
  for (const auto& run : runs) EXPECT_EQ(run.exitCode, RunTool(run.arguments)) << run.arguments;
  EXPECT_TRUE(std::filesystem::exists(folder / "demo.html"));
}

}  // namespace
}  // namespace inspect::test

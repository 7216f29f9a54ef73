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
#include "tools/velmora-inspect/NoteTitles.h"
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

// The line of the terminal view that starts with label, or "" when none does.
std::string LineStarting(const std::string& text, const std::string& label) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(label, 0) == 0) return line;
  }
  return "";
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(InspectShow, InAnAccountantsWords) {
  std::ostringstream shown;
  ASSERT_TRUE(ShowInTerminal(Golden("e2e/demo-company.xml").string(), ShowOptions{true}, shown).empty());
  const std::string text = shown.str();
  // The notes under the titles a company's statements give them.
  for (const char* title : {"【重要な会計方針に係る事項に関する注記】", "  【資産の評価基準及び評価方法】",
                            "【貸借対照表に関する注記】", "  【担保に供している資産】",
                            "【株主資本等変動計算書に関する注記】", "  【発行済株式】"}) {
    EXPECT_NE(std::string::npos, text.find(std::string(title) + "\n")) << title;
  }
  EXPECT_EQ(std::string::npos, text.find("[Note"));
  EXPECT_EQ(std::string::npos, text.find("SharesIssued"));
  // Negative amounts with △ (期末製品棚卸高 is written as -9800000).
  EXPECT_TRUE(EndsWith(LineStarting(text, "  期末製品棚卸高"), " △9,800,000"));
  EXPECT_EQ(std::string::npos, text.find("-9,800,000"));
  // Liabilities and net assets together are the assets, as the document's own totals say.
  EXPECT_TRUE(EndsWith(LineStarting(text, "資産合計"), " 345,413,700"));
  EXPECT_TRUE(EndsWith(LineStarting(text, "負債・純資産合計"), " 345,413,700"));
  // The statement of changes: 資本金 30,000,000 + 資本準備金 10,000,000 + 利益準備金 2,500,000 +
  // 別途積立金 15,000,000 + 任意積立金 3,000,000 + 繰越利益剰余金 177,211,800 close shareholders'
  // equity; with その他有価証券評価差額金 800,000 the balance sheet's net assets.
  EXPECT_TRUE(EndsWith(LineStarting(text, "株主資本合計"), " 237,711,800"));
  EXPECT_TRUE(EndsWith(LineStarting(text, "純資産合計                193,550,000"), " 238,511,800"));
  EXPECT_NE(std::string::npos, LineStarting(text, "日付").find("借方"));
  EXPECT_NE(std::string::npos, LineStarting(text, "日付").find("貸方"));

  // Every note the schema knows has a Japanese title.
  const std::string schema =
      ReadBytes(std::filesystem::path(std::getenv("VELMORA_SOURCE_DIR")) / "docs/rc25.xsd");
  const std::size_t begin = schema.find("<!-- notes: begin -->"), end = schema.find("<!-- notes: end -->");
  ASSERT_LT(begin, end);
  std::smatch m;
  std::string rest = schema.substr(begin, end - begin);
  int notes = 0;
  while (std::regex_search(rest, m, std::regex("ref=\"([^\"]+)\""))) {
    ++notes;
    EXPECT_FALSE(std::regex_search(NoteTitle(m[1].str()), std::regex("[A-Za-z]"))) << m[1];
    rest = m.suffix();
  }
  EXPECT_EQ(177, notes);

  // An increase of an asset is a debit, of a revenue a credit.
  TempFolder folder;
  ASSERT_TRUE(ShowAsHtml(Golden("e2e/demo-company.xml").string(), (folder / "page.html").string()).empty());
  const std::string html = ReadBytes(folder / "page.html");
  EXPECT_NE(std::string::npos,
            html.find("<td>現金引出</td><td class=\"amount\">500,000</td><td class=\"amount\"></td>"));
  EXPECT_NE(std::string::npos, html.find("<td>東邦機工(株) 4月分売上</td><td class=\"amount\"></td><td "
                                         "class=\"amount\">8,800,000</td>"));
}

// The differences of two documents, formatted, and how many of each part the summary counts.
struct DiffLines {
  std::vector<std::string> lines;
  DiffOutcome outcome;
};

DiffLines DiffOf(const std::string& before, const std::string& after) {
  DiffLines out;
  out.outcome = DiffDocuments(Source::InMemory("before.xml", before), Source::InMemory("after.xml", after),
                              [&](const Difference& d) { out.lines.push_back(FormatDifference(d)); });
  EXPECT_TRUE(out.outcome.readable);
  return out;
}

// Replaces the text of the n-th (0-based) element named field after the ledger's form of account.
std::string SetLedgerField(std::string d, const std::string& account, int row, const std::string& field,
                           const std::string& text) {
  std::size_t at = d.find(Cp932("<HJ00780S0010>" + account + "<"));
  for (int i = 0; i <= row; ++i) at = d.find("<HJ00780S02>", at + 1);
  const std::size_t open = d.find("<" + field + ">", at) + field.size() + 2;
  return d.replace(open, d.find('<', open) - open, Cp932(text));
}

TEST(InspectDiff, ComparesStatementsNotesAndTheLedgerRowByRow) {
  const std::string demo = ReadBytes(Golden("e2e/demo-company.xml"));
  // The second posting of 現金 (令和6年4月18日, 293,700 to 消耗品費) and its neighbours.
  const std::size_t cash = demo.find(Cp932("<HJ00780S0010>現金<"));
  const std::size_t second = demo.find("<HJ00780S02>", demo.find("<HJ00780S02>", cash) + 1);
  const std::size_t third = demo.find("\t\t\t\t<HJ00780S02>", second);
  const std::string secondRow =
      demo.substr(demo.rfind('\n', second) + 1, third - demo.rfind('\n', second) - 1);
  const struct {
    const char* name;
    std::string after;
    std::vector<std::string> lines;
    std::int64_t statements, notes, ledger;
  } cases[] = {
      {"the same document", demo, {}, 0, 0, 0},
      {"one posting's date",
       SetLedgerField(demo, "現金", 1, "HJ00780S0060", "令和6年4月19日"),
       {"changed     総勘定元帳 / 現金 / 2件目 / 日付: 令和6年4月18日 -> 令和6年4月19日"},
       0,
       0,
       1},
      {"one posting's amount and its running balance",
       SetLedgerField(SetLedgerField(demo, "現金", 2, "HJ00780S0110", "-58400"), "現金", 2, "HJ00780S0120",
                      "997900"),
       {"changed     総勘定元帳 / 現金 / 3件目 / 金額: △58,300 -> △58,400 (100 減少)",
        "changed     総勘定元帳 / 現金 / 3件目 / 残高: 998,000 -> 997,900 (100 減少)"},
       0,
       0,
       2},
      {"a posting's description and counter account",
       SetLedgerField(SetLedgerField(demo, "現金", 1, "HJ00780S0100", "工場 備品"), "現金", 1, "HJ00780S0080",
                      "備品"),
       {"changed     総勘定元帳 / 現金 / 2件目 / 相手科目: 消耗品費 -> 備品",
        "changed     総勘定元帳 / 現金 / 2件目 / 摘要: 工場 消耗品 -> 工場 備品"},
       0,
       0,
       2},
      {"a posting twice",
       std::string(demo).insert(third, secondRow),
       {"appeared    総勘定元帳 / 現金 / 3件目: 令和6年4月18日 消耗品費 工場 消耗品 △293,700（残高 "
        "1,056,300）",
        "changed     総勘定元帳 / 現金 / 件数: 52 -> 53 (1 増加)"},
       0,
       0,
       2},
      {"a posting less",
       std::string(demo).erase(demo.rfind('\n', second) + 1, secondRow.size()),
       {"disappeared 総勘定元帳 / 現金 / 2件目: 令和6年4月18日 消耗品費 工場 消耗品 △293,700（残高 "
        "1,056,300）",
        "changed     総勘定元帳 / 現金 / 件数: 52 -> 51 (1 減少)"},
       0,
       0,
       2},
      {"an account renamed",
       Replace(demo, Cp932("<HJ00780S0010>現金<"), Cp932("<HJ00780S0010>手許現金<")),
       {"disappeared 総勘定元帳 / 現金: 期首残高 850,000、期末残高 252,800、52件",
        "appeared    総勘定元帳 / 手許現金: 期首残高 850,000、期末残高 252,800、52件"},
       0,
       0,
       2},
      {"an account more",
       [&] {
         const std::size_t form = demo.rfind("\t\t\t<HJ00780S01>", cash);
         const std::size_t next = demo.find("\t\t\t<HJ00780S01>", cash);
         return std::string(demo).insert(
             next, Replace(demo.substr(form, next - form), Cp932(">現金<"), Cp932(">小口現金<")));
       }(),
       {"appeared    総勘定元帳 / 小口現金: 期首残高 850,000、期末残高 252,800、52件"},
       0,
       0,
       1},
      {"statements and notes",
       Replace(
           Replace(
               Replace(
                   Replace(Replace(demo, Cp932("普通預金\">75286900<"), Cp932("普通預金\">75296900<")),
                           Cp932("\t\t\t\t\t<Item Label=\"前払費用\">450000</Item>\r\n"), ""),
                   Cp932("<Item Label=\"未払費用\">96000</Item>\r\n"),
                   Cp932("<Item Label=\"未払費用\">96000</Item>\r\n<Item Label=\"仮受金\">5000</Item>\r\n")),
               Cp932("株式会社北斗精機"), Cp932("株式会社北斗精機工業")),
           Cp932("<Line>86,450,000円</Line>"), Cp932("<Line>86,540,000円</Line>")),
       {"changed     会社名: 株式会社北斗精機 -> 株式会社北斗精機工業",
        "changed     貸借対照表 / 資産の部 / 流動資産 / 普通預金: 75,286,900 -> 75,296,900 (10,000 増加)",
        "disappeared 貸借対照表 / 資産の部 / 流動資産 / 前払費用: 450,000 (450,000 減少)",
        "changed     個別注記表 / 貸借対照表に関する注記 / 有形固定資産の減価償却累計額: 86,450,000円 -> "
        "86,540,000円",
        "appeared    貸借対照表 / 負債の部 / 流動負債 / 仮受金: 5,000 (5,000 増加)"},
       4,
       1,
       0},
  };
  for (const auto& c : cases) {
    const DiffLines diff = DiffOf(demo, c.after);
    EXPECT_EQ(c.lines, diff.lines) << c.name;
    EXPECT_EQ(c.statements, diff.outcome.statements) << c.name;
    EXPECT_EQ(c.notes, diff.outcome.notes) << c.name;
    EXPECT_EQ(c.ledger, diff.outcome.ledger) << c.name;
  }

  // Without the ledger, only the ledger's accounts are gone, each on one line.
  const DiffLines plain = DiffOf(demo, ReadBytes(Golden("e2e/demo-company-no-ledger.xml")));
  EXPECT_EQ(Count(demo, "<HJ00780S01>"), plain.lines.size());
  for (const std::string& line : plain.lines)
    EXPECT_EQ(0u, line.rfind("disappeared 総勘定元帳 / ", 0)) << line;
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

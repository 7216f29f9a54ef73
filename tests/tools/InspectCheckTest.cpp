// check: every document the writer produces holds together, and broken copies of the demo
// company's document fail with one error on the line where the damage shows.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <functional>

#include "tests/tools/InspectFiles.h"
#include "tools/velmora-inspect/Checker.h"

namespace inspect::test {
namespace {

std::string Describe(const std::vector<Finding>& findings) {
  std::string out;
  for (const Finding& f : findings) out += FormatFinding("doc", f) + "\n";
  return out;
}

std::string Replace(std::string bytes, const std::string& from, const std::string& to) {
  const std::size_t at = bytes.find(from);
  EXPECT_NE(std::string::npos, at) << from;
  if (at != std::string::npos) bytes.replace(at, from.size(), to);
  return bytes;
}

// Removes the whole line holding the n-th occurrence (0-based) of text.
std::string RemoveLine(std::string bytes, const std::string& text, int n = 0) {
  std::size_t at = bytes.find(text);
  for (int i = 0; i < n && at != std::string::npos; ++i) at = bytes.find(text, at + 1);
  EXPECT_NE(std::string::npos, at) << text;
  const std::size_t begin = bytes.rfind('\n', at) + 1;
  const std::size_t end = bytes.find('\n', at) + 1;
  return bytes.erase(begin, end - begin);
}

int XmllintSchema(const std::filesystem::path& document) {
  const std::string command = "xmllint --noout --schema '" + std::string(std::getenv("VELMORA_SOURCE_DIR")) +
                              "/docs/rc25.xsd' '" + document.string() + "' > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(InspectCheck, EveryGoldenDocumentHoldsTogetherAndMeetsTheSchema) {
  TempFolder folder;
  WriteBytes(folder / "full_document.xml", WrittenFullDocument());
  for (const auto& document : {Golden("e2e/demo-company.xml"), Golden("e2e/demo-company-no-ledger.xml"),
                               folder / "full_document.xml"}) {
    const std::vector<Finding> findings = CheckDocument(document.string());
    EXPECT_FALSE(HasErrors(findings)) << document << "\n" << Describe(findings);
    EXPECT_EQ(0, XmllintSchema(document)) << document;
  }
}

struct Damage {
  const char* name;
  std::function<std::string(const std::string&)> apply;
  // Where the error must be reported, found in the broken copy.
  std::function<long(const std::string&)> line;
  const char* message;         // part of the error's line
  bool schemaRejects = false;  // the damage is one of structure, so xmllint rejects it too
};

TEST(InspectCheck, BrokenCopiesFailWithOneErrorOnTheRightLine) {
  const std::string demo = ReadBytes(Golden("e2e/demo-company.xml"));
  const std::size_t ledger = demo.find("<HJ00780S>");
  // A row well inside the ledger, and the line of its sub-account field.
  const std::size_t row = demo.find("<HJ00780S02>", ledger + 3000);
  const std::size_t subAccount = demo.find("<HJ00780S0070>", row);
  const auto at = [](const std::string& text) {
    return [text](const std::string& broken) { return LineOf(broken, broken.find(text)); };
  };
  const auto lastLine = [](const std::string& broken) { return LineOf(broken, broken.size() - 1); };
  const std::vector<Damage> damages = {
      {"changed item amount",
       [](const std::string& d) {
         return Replace(d, Cp932("普通預金\">75286900<"), Cp932("普通預金\">75296900<"));
       },
       at("<CurrentAssets "), "187,623,700 written, 187,633,700 computed (difference -10,000)"},
      {"missing item", [](const std::string& d) { return RemoveLine(d, Cp932("<Item Label=\"普通預金\">")); },
       at("<CurrentAssets "), "187,623,700 written, 112,336,800 computed"},
      {"net assets no longer balance the assets",
       [](const std::string& d) {
         return Replace(
             Replace(d, Cp932("繰越利益剰余金\">177211800<"), Cp932("繰越利益剰余金\">177311800<")),
             "Amount=\"238511800\"", "Amount=\"238611800\"");
       },
       at("<Assets "),
       "assets against liabilities plus net assets: 345,413,700 written, 345,513,700 computed"},
      {"changed net income",
       [](const std::string& d) {
         return Replace(d, "Amount=\"44961800\"></NetIncome>", "Amount=\"44961900\"></NetIncome>");
       },
       at("<NetIncome "),
       "income before income taxes less income taxes: 44,961,900 written, 44,961,800 computed"},
      {"changed ledger running balance",
       [row](const std::string& d) { return std::string(d).insert(d.find("<HJ00780S0120>", row) + 14, "1"); },
       [row](const std::string& broken) { return LineOf(broken, broken.find("<HJ00780S0120>", row)); },
       "running balance against the balance before plus the movement: 11,356,700 written, 1,356,700 "
       "computed"},
      {"missing ledger posting",
       [row](const std::string& d) {
         const std::size_t begin = d.rfind('\n', row) + 1;
         return std::string(d).erase(begin, d.find("</HJ00780S02>\r\n", row) + 15 - begin);
       },
       // the next posting, now where the missing one stood, shows it at its running balance
       [row](const std::string& broken) { return LineOf(broken, broken.find("<HJ00780S0120>", row)); },
       "running balance against the balance before plus the movement"},
      {"ledger row without its sub-account field",
       [subAccount](const std::string& d) {
         const std::size_t begin = d.rfind('\n', subAccount) + 1;
         return std::string(d).erase(begin, d.find('\n', subAccount) + 1 - begin);
       },
       [subAccount, &demo](const std::string&) { return LineOf(demo, subAccount); },
       "structure: Element 'HJ00780S0080': This element is not expected. Expected is ( HJ00780S0070 )", true},
      {"misnamed element", [](const std::string& d) { return Replace(d, "<Sga>G1</Sga>", "<SGA>G1</SGA>"); },
       at("<SGA>"), "structure: Element 'SGA'", true},
      {"truncated file", [](const std::string& d) { return d.substr(0, d.size() / 2); }, lastLine,
       "the file ends here, inside this element: it is cut short"},
      {"byte that is not Shift_JIS",
       [](const std::string& d) { return Replace(d, Cp932("当座預金"), "\xFF" + Cp932("座預金")); },
       at("\xFF"), "byte 0xFF at offset"},
      {"lead byte without its second byte",
       [](const std::string& d) { return Replace(d, Cp932("当座預金"), "\x81<"); }, at("\x81<"),
       "byte 0x81 at offset"},
      {"LF without CR", [](const std::string& d) { return Replace(d, "</VERSION>\r\n", "</VERSION>\n"); },
       at("</VERSION>"), "the line ends in LF without CR"},
  };
  TempFolder folder;
  for (const Damage& damage : damages) {
    const std::string broken = damage.apply(demo);
    const auto path = folder / "broken.xml";
    WriteBytes(path, broken);
    const long expectedLine = damage.line(broken);
    const std::vector<Finding> findings = CheckDocument(path.string());
    std::vector<Finding> errors;
    for (const Finding& f : findings) {
      if (f.severity == Severity::Error) errors.push_back(f);
    }
    ASSERT_EQ(1u, errors.size()) << damage.name << "\n" << Describe(findings);
    EXPECT_EQ(expectedLine, errors[0].line) << damage.name << "\n" << Describe(findings);
    EXPECT_NE(std::string::npos, FormatFinding("doc", errors[0]).find(damage.message)) << damage.name << "\n"
                                                                                       << Describe(findings);
    if (damage.schemaRejects) {
      EXPECT_NE(0, XmllintSchema(path)) << damage.name;
    }
  }
}

// Differences a correct document can have: reported, but the document still holds together.
TEST(InspectCheck, DifferencesACorrectDocumentMayHaveAreWarnings) {
  const std::string demo = ReadBytes(Golden("e2e/demo-company.xml"));
  const std::size_t cash = demo.find("<HJ00780S01>");
  const struct {
    const char* name;
    std::string broken;
    const char* warning;  // part of the first finding
  } cases[] = {
      {"ledger closing balance beyond its postings",
       Replace(demo, "<HJ00780S0040>252800<", "<HJ00780S0040>252900<"),
       "closing balance 252,900 written, the opening balance and the postings come to 252,800"},
      {"net income beside retained earnings over a shorter period",
       Replace(demo, "<Amount>44961800</Amount>", "<Amount>40000000</Amount>"),
       "they differ when the period does not start at the first month"},
      {"a running balance one yen off",
       [&] {
         std::string d = demo;
         const std::size_t at = d.find("<HJ00780S0120>", d.find("<HJ00780S02>", cash)) + 14;
         const std::size_t end = d.find('<', at);
         d.replace(at, end - at, std::to_string(std::stoll(d.substr(at, end - at)) + 1));
         return d;
       }(),
       "within what cutting fractions of a yen can cause"},
      {"net assets holding the year's net income as a total line",
       Replace(demo, Cp932("繰越利益剰余金\">177211800<"), Cp932("繰越利益剰余金\">132250000<")),
       // nothing on net assets (it would come first); the statement of changes still closes
       // retained earnings with the year's profit
       "the balance sheet lists 繰越利益剰余金 at 132,250,000"},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    WriteBytes(folder / "doc.xml", c.broken);
    const std::vector<Finding> findings = CheckDocument((folder / "doc.xml").string());
    EXPECT_FALSE(HasErrors(findings)) << c.name << "\n" << Describe(findings);
    ASSERT_FALSE(findings.empty()) << c.name;
    EXPECT_NE(std::string::npos, FormatFinding("doc", findings[0]).find(c.warning)) << c.name << "\n"
                                                                                    << Describe(findings);
  }
}

}  // namespace
}  // namespace inspect::test

// Input from anywhere: documents built to exhaust the reader are refused with a reason by
// every command, at once and without reading them on; what is not a regular file, or is
// empty, makes every command exit with 2 and say why; and inputs just inside the bounds
// are read as any other document.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/tools/InspectFiles.h"
#include "tools/velmora-inspect/Checker.h"
#include "tools/velmora-inspect/Diff.h"
#include "tools/velmora-inspect/Show.h"

namespace inspect::test {
namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

std::string Repeat(const std::string& text, std::size_t n) {
  std::string out;
  out.reserve(text.size() * n);
  for (std::size_t i = 0; i < n; ++i) out += text;
  return out;
}

std::string Nested(std::size_t depth) {
  return kDeclaration + "<REPORT>" + Repeat("<a>", depth - 1) + Repeat("</a>", depth - 1) + "</REPORT>\r\n";
}

std::string Attributes(std::size_t n) {
  std::string tag = "<REPORT";
  for (std::size_t i = 0; i < n; ++i) tag += " a" + std::to_string(i) + "=\"1\"";
  return kDeclaration + tag + "></REPORT>\r\n";
}

std::string Laughs() {
  std::string d = kDeclaration + "<!DOCTYPE REPORT [\r\n<!ENTITY a0 \"lol\">\r\n";
  for (int i = 1; i < 10; ++i)
    d +=
        "<!ENTITY a" + std::to_string(i) + " \"" + Repeat("&a" + std::to_string(i - 1) + ";", 10) + "\">\r\n";
  return d + "]>\r\n<REPORT>&a9;</REPORT>\r\n";
}

std::string Errors(const std::vector<Finding>& findings) {
  std::string out;
  for (const Finding& f : findings) out += FormatFinding("doc", f) + "\n";
  return out;
}

TEST(InspectHostile, DocumentsBuiltToExhaustTheReaderAreRefusedByEveryCommand) {
  const struct {
    const char* name;
    std::string bytes;
    const char* refusal;  // part of the one error, on line 2
  } cases[] = {
      {"1,000,000 nested elements", Nested(1000000), "elements nested more than 64 deep"},
      {"65 nested elements", Nested(65), "elements nested more than 64 deep"},
      {"100,000 attributes", Attributes(100000), "a tag with more than 16 attributes"},
      {"17 attributes", Attributes(17), "a tag with more than 16 attributes"},
      {"a 100 MB attribute",
       kDeclaration + "<REPORT a=\"" + std::string(100'000'000, 'x') + "\"></REPORT>\r\n",
       "a tag of more than 65,536 bytes"},
      {"a 100 MB text", kDeclaration + "<REPORT>" + std::string(100'000'000, 'x') + "</REPORT>\r\n",
       "a text of more than 1,048,576 bytes"},
      {"60,000 elements before the ledger",
       kDeclaration + "<REPORT>" + Repeat("<a/>", 60000) + "</REPORT>\r\n",
       "more than 50,000 elements before the general ledger"},
      {"a billion laughs", Laughs(), "document type or markup declaration"},
      {"an external DTD", kDeclaration + "<!DOCTYPE REPORT SYSTEM \"file:///etc/passwd\">\r\n<REPORT/>\r\n",
       "document type or markup declaration"},
      {"an external parameter entity",
       kDeclaration + "<!DOCTYPE REPORT [<!ENTITY % p SYSTEM \"file:///etc/passwd\"> %p;]>\r\n<REPORT/>\r\n",
       "document type or markup declaration"},
  };
  const std::string golden = ReadBytes(Golden("e2e/demo-company.xml"));
  for (const auto& c : cases) {
    const Source hostile = Source::InMemory("hostile.xml", c.bytes);
    const std::vector<Finding> checked = CheckDocument(hostile);
    ASSERT_EQ(1u, checked.size()) << c.name << "\n" << Errors(checked);
    EXPECT_EQ(2, checked[0].line) << c.name;
    EXPECT_NE(std::string::npos, checked[0].message.find(c.refusal)) << c.name << "\n" << Errors(checked);

    std::ostringstream shown;
    const std::vector<Finding> showProblems = ShowInTerminal(hostile, ShowOptions{true}, shown);
    EXPECT_NE(std::string::npos, Errors(showProblems).find(c.refusal)) << c.name;

    const DiffOutcome diff =
        DiffDocuments(Source::InMemory("golden.xml", golden), hostile, [](const Difference&) {});
    EXPECT_FALSE(diff.readable) << c.name;
    EXPECT_NE(std::string::npos, Errors(diff.afterProblems).find(c.refusal)) << c.name;
  }
}

TEST(InspectHostile, InputsInsideTheBoundsAreReadLikeAnyOther) {
  const std::string demo = ReadBytes(Golden("e2e/demo-company.xml"));
  const std::size_t field = demo.find("<HJ00780S0070>");
  const struct {
    const char* name;
    std::string bytes;
    const char* finding;  // part of the first error; none for a document that holds together
  } cases[] = {
      {"64 nested elements", Nested(64), "structure: Element 'a'"},
      {"16 attributes", Attributes(16), "Element 'REPORT'"},
      {"markup inside a comment and a CDATA section",
       kDeclaration + "<!-- <!DOCTYPE x> \" ' --><REPORT><![CDATA[<a b=\"]]></REPORT>\r\n",
       "Element 'REPORT'"},
      // A ledger field's end tag longer than the small-string buffer: the element that ends is
      // still named right after the reader has let go of it.
      {"a long element name inside the ledger",
       std::string(demo).insert(
           field, "<AnElementNameOfMoreThanSixteenBytes></AnElementNameOfMoreThanSixteenBytes>"),
       "HJ00780S02[1]/AnElementNameOfMoreThanSixteenBytes: structure: Element "
       "'AnElementNameOfMoreThanSixteenBytes': This element is not expected. Expected is ( HJ00780S0070 )"},
  };
  for (const auto& c : cases) {
    const std::vector<Finding> findings = CheckDocument(Source::InMemory("doc.xml", c.bytes));
    ASSERT_TRUE(HasErrors(findings)) << c.name;
    EXPECT_EQ(std::string::npos, Errors(findings).find("refused")) << c.name << "\n" << Errors(findings);
    EXPECT_NE(std::string::npos, Errors(findings).find(c.finding)) << c.name << "\n" << Errors(findings);
  }
}

// Exit code and standard error of the tool; a command that hangs is stopped by timeout.
std::pair<int, std::string> RunInspect(const std::string& arguments, const TempFolder& folder) {
  const std::string err = (folder / "stderr.txt").string();
  const int status = std::system(
      ("timeout 20 " + std::string(VELMORA_INSPECT_PATH) + " " + arguments + " >/dev/null 2>" + err).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(err)};
}

TEST(InspectHostile, WhatIsNotARegularFileWithContentIsRefusedWithItsReason) {
  TempFolder folder;
  const std::string demo = Golden("e2e/demo-company.xml").string();
  WriteBytes(folder / "empty.xml", "");
  std::filesystem::create_directory(folder / "folder.xml");
  ASSERT_EQ(0, mkfifo((folder / "fifo.xml").c_str(), 0600));
  const struct {
    std::string file;
    const char* reason;
  } inputs[] = {
      {(folder / "empty.xml").string(), "the file is empty"},
      {(folder / "folder.xml").string(), "it is a folder, not a file"},
      {(folder / "fifo.xml").string(), "it is not a regular file"},
      {(folder / "missing.xml").string(), "No such file or directory"},
  };
  for (const auto& input : inputs) {
    for (const std::string& command :
         {"check " + input.file, "show " + input.file, "diff " + demo + " " + input.file,
          "diff " + input.file + " " + demo}) {
      const auto [code, err] = RunInspect(command, folder);
      EXPECT_EQ(2, code) << command << "\n" << err;
      EXPECT_NE(std::string::npos, err.find(input.file + ":")) << command << "\n" << err;
      EXPECT_NE(std::string::npos, err.find(input.reason)) << command << "\n" << err;
    }
  }
}

}  // namespace
}  // namespace inspect::test

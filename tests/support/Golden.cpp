// Byte comparison with a first-difference report, and the golden files under tests/data.
#include "tests/support/Golden.h"

#include <cstdlib>
#include <vector>

#include "tests/support/Cp932Text.h"
#include "tests/support/TestFiles.h"

namespace velmora::test {
namespace {

std::vector<std::string> SplitAfterLf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < bytes.size()) {
    const std::size_t lf = bytes.find('\n', from);
    const std::size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
    lines.push_back(bytes.substr(from, end - from));
    from = end;
  }
  return lines;
}

std::string Visible(const std::string& cp932Line) {
  std::string shown;
  for (const char c : Utf8OrBytes(cp932Line)) {
    switch (c) {
      case '\r':
        shown += "\\r";
        break;
      case '\n':
        shown += "\\n";
        break;
      case '\t':
        shown += "\\t";
        break;
      default:
        shown += c;
        break;
    }
  }
  return shown;
}

}  // namespace

::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  const std::vector<std::string> want = SplitAfterLf(expected);
  const std::vector<std::string> got = SplitAfterLf(actual);
  std::size_t line = 0;
  while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
  return ::testing::AssertionFailure()
         << "bytes differ at line " << line + 1 << " (" << want.size() << " lines expected, " << got.size()
         << " written)\n  expected: " << (line < want.size() ? Visible(want[line]) : "<end>")
         << "\n  actual:   " << (line < got.size() ? Visible(got[line]) : "<end>");
}

::testing::AssertionResult MatchesGolden(const std::string& actual, const std::string& relative) {
  const std::filesystem::path golden = DataPath(relative);
  if (const char* update = std::getenv("VELMORA_UPDATE_GOLDEN");
      update != nullptr && std::string(update) == "1") {
    WriteBytes(golden, actual);
  }
  if (!std::filesystem::exists(golden)) return ::testing::AssertionFailure() << "no golden file " << golden;
  return SameBytes(ReadBytes(golden), actual) << "\n  golden file: " << golden.string();
}

std::string WrittenForm(const std::string& relative) {
  std::string withCrLf;
  for (const char c : ReadBytes(DataPath(relative))) {
    if (c == '\n') withCrLf += '\r';
    withCrLf += c;
  }
  return Cp932(withCrLf);
}

}  // namespace velmora::test

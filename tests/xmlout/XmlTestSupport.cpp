// Helpers of the document writer's tests.
#include "XmlTestSupport.h"

#include <iconv.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/Process.h"
#include "xmlout/XmlElementWriter.h"

namespace {

std::string Iconv(const std::string& text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv cannot convert " << from << " to " << to;
    return {};
  }
  std::string in = text;
  std::string out(text.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) {
    return "<not convertible>";
  }
  out.resize(out.size() - outLeft);
  return out;
}

std::string Visible(const std::string& cp932Line) {
  std::string shown;
  for (const char c : Iconv(cp932Line, "UTF-8", "CP932")) {
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

}  // namespace

std::string Sjis(const std::string& utf8) { return Iconv(utf8, "CP932", "UTF-8"); }

TempFolder::TempFolder() {
  unsetenv("VELMORA_DRIVES");
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-xml-XXXXXX").string();
  linux_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  EXPECT_FALSE(linux_.empty());
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(linux_, ignored);
}

std::string TempFolder::Windows(const std::string& name) const {
#ifdef _WIN32
  // Without a map the Windows build's paths are themselves.
  std::string path = LinuxPath(name);
#else
  std::string path = "Z:" + LinuxPath(name);
#endif
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string ReadBytes(const std::string& linuxPath) {
  std::ifstream in(linuxPath, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& linuxPath, const std::string& bytes) {
  std::ofstream out(linuxPath, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string Capture(const std::function<int(XmlElementWriter&)>& write, int* result) {
  TempFolder folder;
  XmlElementWriter xml;
  EXPECT_EQ(0, xml.Open(folder.Windows("part.xml")));
  const int written = write(xml);
  xml.Close();
  if (result != nullptr) {
    *result = written;
  }
  return ReadBytes(folder.LinuxPath("part.xml"));
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) {
    joined += line;
    joined += "\r\n";
  }
  return joined;
}

::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) {
    return ::testing::AssertionSuccess();
  }
  const std::vector<std::string> want = SplitAfterLf(expected);
  const std::vector<std::string> got = SplitAfterLf(actual);
  std::size_t line = 0;
  while (line < want.size() && line < got.size() && want[line] == got[line]) {
    ++line;
  }
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << "bytes differ at line " << line + 1 << " (" << want.size() << " lines expected, " << got.size()
          << " written)\n  expected: " << (line < want.size() ? Visible(want[line]) : "<end>")
          << "\n  actual:   " << (line < got.size() ? Visible(got[line]) : "<end>");
  return failure;
}

bool WellFormed(const std::string& linuxPath) {
  return velmora::test::RunCommand("xmllint --noout '" + linuxPath + "'") == 0;
}

StatementLine MakeLine(uint32_t character, const std::string& officialNameUtf8, int64_t closing,
                       int16_t rowKind, int32_t accountCode) {
  StatementLine line;
  line.accountCode = accountCode;
  const std::string name = Sjis(officialNameUtf8);
  name.copy(line.officialName, sizeof line.officialName - 1);
  line.closingAmount = closing;
  line.accountCharacter = static_cast<int32_t>(character);
  line.rowKind = rowKind;
  return line;
}

int BoxRecorder::MessageBox(platform::HWND owner, const std::string& text, const std::string& caption,
                            unsigned type) {
  boxes_.push_back({owner, text, caption, type});
  return platform::IDOK;
}

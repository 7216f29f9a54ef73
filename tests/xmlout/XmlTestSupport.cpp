// Helpers of the document writer's tests.
#include "XmlTestSupport.h"

#include <filesystem>

#include "tests/support/Process.h"
#include "xmlout/XmlElementWriter.h"

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

std::string Capture(const std::function<int(XmlElementWriter&)>& write, int* result) {
  TempFolder folder;
  XmlElementWriter xml;
  EXPECT_TRUE(xml.Open(folder.Windows("part.xml")));
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

bool WellFormed(const std::string& linuxPath) {
  return velmora::test::RunCommand("xmllint --noout '" + linuxPath + "'") == 0;
}

StatementLine MakeLine(uint32_t character, const std::string& officialNameUtf8, int64_t closing,
                       int16_t rowKind, int32_t accountCode) {
  StatementLine line;
  line.accountCode = accountCode;
  const std::string name = Cp932(officialNameUtf8);
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

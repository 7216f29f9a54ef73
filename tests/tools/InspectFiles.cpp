// Test files: reads, writes, line lookups and a private temporary folder.
#include "tests/tools/InspectFiles.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Cp932.h"

namespace inspect::test {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::filesystem::path Golden(const std::string& relative) {
  return std::filesystem::path(std::getenv("VELMORA_SOURCE_DIR")) / "tests/data" / relative;
}

std::string Sjis(const std::string& utf8) { return platform::cp932::FromUtf8(utf8).text; }

long LineOf(const std::string& bytes, std::size_t offset) {
  return 1 + static_cast<long>(
                 std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

long LineOfText(const std::string& bytes, const std::string& utf8) {
  const std::size_t at = bytes.find(Sjis(utf8));
  return at == std::string::npos ? 0 : LineOf(bytes, at);
}

std::string WrittenFullDocument() {
  std::string withCrLf;
  for (const char c : ReadBytes(Golden("xmlout/full_document.xml"))) {
    if (c == '\n') withCrLf += '\r';
    withCrLf += c;
  }
  return Sjis(withCrLf);
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-inspect-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace inspect::test

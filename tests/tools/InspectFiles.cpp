// Test files: reads, writes, line lookups and a private temporary folder.
#include "tests/tools/InspectFiles.h"

#include <stdlib.h>

#include <algorithm>

#include "tests/support/Golden.h"

namespace inspect::test {

long LineOf(const std::string& bytes, std::size_t offset) {
  return 1 + static_cast<long>(
                 std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

long LineOfText(const std::string& bytes, const std::string& utf8) {
  const std::size_t at = bytes.find(Cp932(utf8));
  return at == std::string::npos ? 0 : LineOf(bytes, at);
}

std::string WrittenFullDocument() { return velmora::test::WrittenForm("xmlout/full_document.xml"); }

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-inspect-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace inspect::test

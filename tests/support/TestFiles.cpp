// Whole-file reads and writes for tests, and the source tree's paths.
#include "tests/support/TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace velmora::test {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::filesystem::path SourcePath(const std::string& relative) {
  const char* source = std::getenv("VELMORA_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".") / relative;
}

std::filesystem::path DataPath(const std::string& relative) { return SourcePath("tests/data/" + relative); }

}  // namespace velmora::test

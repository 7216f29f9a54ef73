// Files for the inspector's tests: the golden documents, broken copies of them in a folder
// of their own, and where in a document a text stands.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/Cp932Text.h"
#include "tests/support/TestFiles.h"

namespace inspect::test {

using velmora::test::Cp932;
using velmora::test::ReadBytes;
using velmora::test::WriteBytes;
inline std::filesystem::path Golden(const std::string& relative) { return velmora::test::DataPath(relative); }

// 1-based line of the byte at offset (lines end in LF).
long LineOf(const std::string& bytes, std::size_t offset);
// Line of the first occurrence of the UTF-8 text (converted to code page 932); 0 when absent.
long LineOfText(const std::string& bytes, const std::string& utf8);

// The reference document of the writer's own tests as the writer writes it: its golden
// file is kept in UTF-8 with LF lines.
std::string WrittenFullDocument();

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace inspect::test

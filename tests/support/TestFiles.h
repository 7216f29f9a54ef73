// Files for tests on both systems: whole files read (as bytes, or as text) and written, and
// the paths of the source tree's test data (tests/data).
#pragma once

#include <filesystem>
#include <string>

namespace velmora::test {

// The whole file, or an empty string when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);
// The whole file as text a program of the system wrote: on Windows CR LF is read as LF.
std::string ReadText(const std::filesystem::path& path);
// Replaces the file with the bytes.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// A path below the source tree, which every test executable knows (VELMORA_SOURCE_DIR).
std::filesystem::path SourcePath(const std::string& relative);
// A file of the committed test data: tests/data/relative.
std::filesystem::path DataPath(const std::string& relative);

}  // namespace velmora::test

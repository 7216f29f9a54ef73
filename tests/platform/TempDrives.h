// A temporary folder with its own drive map: each test gets a fresh folder and points
// VELMORA_DRIVES at a map file in it, so the platform reads the new map. Names are UTF-8 on
// every system; Native() gives the form a Linux-style path takes on the system (under Wine
// "/tmp/x" is "Z:\tmp\x").
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/TestFiles.h"

namespace platform::testing {

// The form a Linux-style path takes on the system: itself on Linux, "Z:\\tmp\\x" for
// "/tmp/x" under Wine.
inline std::string Native(std::string path) {
#ifdef _WIN32
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  if (!path.empty() && path[0] == '\\') path = std::filesystem::current_path().root_name().string() + path;
#endif
  return path;
}

class TempDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velmora-platform-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    root_ = pattern;
    char cwd[4096];
    ASSERT_NE(nullptr, ::getcwd(cwd, sizeof cwd));
    savedCwd_ = cwd;
  }

  void TearDown() override {
    ASSERT_EQ(0, ::chdir(savedCwd_.c_str()));
    ::unsetenv("VELMORA_DRIVES");
    std::filesystem::remove_all(root_);
  }

  // Writes the map (with "@" standing for the temporary folder) and makes it current.
  void UseMap(std::string text) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + root_.size())) {
      text.replace(at, 1, root_);
    }
    std::string file = root_ + "/drives-" + std::to_string(++maps_);
    std::ofstream(file, std::ios::binary) << text;
    ::setenv("VELMORA_DRIVES", file.c_str(), 1);
  }

  static std::filesystem::path Utf8(const std::string& path) {
    return std::u8string(path.begin(), path.end());
  }

  std::string Make(const std::string& relative) {
    std::filesystem::create_directories(Utf8(root_ + "/" + relative));
    return root_ + "/" + relative;
  }

  void WriteFile(const std::string& relative, const std::string& content) {
    velmora::test::WriteBytes(Utf8(root_ + "/" + relative), content);
  }

  std::string ReadFile(const std::string& relative) {
    return velmora::test::ReadBytes(Utf8(root_ + "/" + relative));
  }

  bool OnDisk(const std::string& relative) { return std::filesystem::exists(Utf8(root_ + "/" + relative)); }

  std::string root_;
  std::string savedCwd_;
  int maps_ = 0;
};

}  // namespace platform::testing

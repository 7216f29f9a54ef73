// A temporary world for the path tests: a folder standing for drive C:, a CD-ROM drive E:,
// a network share \\srv\share and a drive map naming them, set through VELMORA_DRIVES and ORBECK_HOME.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Faults.h"

class DriveWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velmora-dialog-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    root_ = pattern;
    std::filesystem::create_directories(root_ / "c");
    std::filesystem::create_directories(root_ / "home");
    std::filesystem::create_directories(root_ / "share");
    std::ofstream(root_ / "drives") << "C: " << (root_ / "c").string() << " fixed\nE: - cdrom\n"
                                    << "\\\\srv\\share " << (root_ / "share").string() << "\n";
    setenv("VELMORA_DRIVES", (root_ / "drives").string().c_str(), 1);
    setenv("ORBECK_HOME", (root_ / "home").string().c_str(), 1);
    platform::faults::Clear();
  }

  void TearDown() override {
    platform::faults::Clear();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The Linux path of a folder or file below drive C: (UTF-8 names).
  // relative is UTF-8, on every system.
  std::filesystem::path OnC(const std::string& relative) const {
    return root_ / "c" / std::u8string(relative.begin(), relative.end());
  }

  std::filesystem::path root_;
};

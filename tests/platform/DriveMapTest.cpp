// The drive map file: letters, types, shares, comments and faulty lines; the default map;
// re-reading when VELMORA_DRIVES changes; drive types as GetDriveTypeA reports them.
#include "platform/DriveMap.h"

#include <gtest/gtest.h>

#include "platform/WinFs.h"
#include "platform/WinTypes.h"
#include "tests/platform/TempDrives.h"

namespace win = platform::win;

namespace {

TEST(DriveMapParseTest, LettersTypesSharesAndComments) {
  std::vector<std::string> errors;
  win::DriveMap map = win::DriveMap::Parse(
      "# comment\n"
      "C: /tmp/x/c/ fixed\n"
      "  d:   \"/tmp/with blank\"   removable  \r\n"
      "E: - cdrom\n"
      "F: /f 4\n"
      "\\\\Srv\\Share /tmp/x/share\n"
      "\n",
      &errors);
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(platform::testing::Native("/tmp/x/c"), map.Drive('C').folder);
  EXPECT_EQ(platform::DRIVE_FIXED, map.Drive('c').type);
  EXPECT_EQ(platform::testing::Native("/tmp/with blank"), map.Drive('D').folder);
  EXPECT_EQ(platform::DRIVE_REMOVABLE, map.Drive('D').type);
  EXPECT_TRUE(map.Drive('E').present);
  EXPECT_EQ("", map.Drive('E').folder);
  EXPECT_EQ(platform::DRIVE_CDROM, map.Drive('E').type);
  EXPECT_EQ(platform::DRIVE_REMOTE, map.Drive('F').type);
  EXPECT_FALSE(map.Drive('G').present);
  EXPECT_FALSE(map.Drive('1').present);
  const win::ShareEntry* share = map.Share("srv", "SHARE");
  ASSERT_NE(nullptr, share);
  EXPECT_EQ(platform::testing::Native("/tmp/x/share"), share->folder);
  EXPECT_EQ(nullptr, map.Share("srv", "other"));
}

TEST(DriveMapParseTest, FaultyLinesAreReportedAndSkipped) {
  std::vector<std::string> errors;
  win::DriveMap map = win::DriveMap::Parse(
      "C: relative\nCC: /x\nD: /d floppy\nE:\n\\\\srv /x\n\\\\srv\\s relative\nF: /f\n", &errors);
  EXPECT_EQ(6u, errors.size());
  EXPECT_NE(std::string::npos, errors[2].find("line 3")) << errors[2];
  EXPECT_FALSE(map.Drive('C').present);
  EXPECT_FALSE(map.Drive('D').present);
  EXPECT_TRUE(map.Drive('F').present);
  EXPECT_TRUE(map.Shares().empty());
}

using DriveMapCurrentTest = platform::testing::TempDrives;

#ifdef _WIN32
TEST_F(DriveMapCurrentTest, WithoutTheVariableEveryPathIsItself) {
  ::unsetenv("VELMORA_DRIVES");
  const std::string root = platform::testing::Native(root_);
  EXPECT_EQ(platform::DRIVE_FIXED, win::GetDriveTypeA(root.substr(0, 3)));
  EXPECT_EQ(root + "\\a.xml", win::ToNativePath(root + "\\a.xml").value_or("none"));
  EXPECT_EQ(root, win::ToWindowsPath(root_).value_or("none"));
  EXPECT_TRUE(win::PathIsDirectoryA(root));
  EXPECT_EQ(std::nullopt, win::ToNativePath("\\\\srv"));
}
#else
TEST_F(DriveMapCurrentTest, WithoutTheVariableZIsTheLinuxRoot) {
  ::unsetenv("VELMORA_DRIVES");
  EXPECT_EQ(platform::DRIVE_FIXED, win::GetDriveTypeA("Z:\\"));
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("C:\\"));
  std::string name = root_.substr(root_.rfind('/') + 1);
  EXPECT_EQ(root_, win::ToNativePath("Z:\\tmp\\" + name).value_or("none"));
  EXPECT_EQ("Z:\\tmp\\" + name, win::ToWindowsPath(root_).value_or("none"));
  EXPECT_TRUE(win::PathIsDirectoryA("Z:\\tmp"));
}
#endif

TEST_F(DriveMapCurrentTest, EveryDriveTypeIsReportedAndTheMapIsReadAgainWhenTheVariableChanges) {
  UseMap(
      "A: - unknown\nB: - noroot\nC: @ removable\nD: @ fixed\nE: @ remote\nF: - cdrom\nG: @ ramdisk\n"
      "\\\\srv\\share @\n");
  EXPECT_EQ(platform::DRIVE_UNKNOWN, win::GetDriveTypeA("A:\\"));
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("B:\\"));
  EXPECT_EQ(platform::DRIVE_REMOVABLE, win::GetDriveTypeA("c:\\"));
  EXPECT_EQ(platform::DRIVE_FIXED, win::GetDriveTypeA("D:"));
  EXPECT_EQ(platform::DRIVE_REMOTE, win::GetDriveTypeA("E:\\"));
  EXPECT_EQ(platform::DRIVE_CDROM, win::GetDriveTypeA("F:\\"));
  EXPECT_EQ(platform::DRIVE_RAMDISK, win::GetDriveTypeA("G:\\"));
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("H:\\"));
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("D:\\sub"));
  EXPECT_EQ(platform::DRIVE_REMOTE, win::GetDriveTypeA("\\\\SRV\\share\\"));
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("\\\\srv\\other\\"));
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("Y:\\"));

  UseMap("H: @ cdrom\n");
  EXPECT_EQ(platform::DRIVE_CDROM, win::GetDriveTypeA("H:\\"));
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("D:\\"));
}

#ifndef _WIN32
// The test executable lives in the build tree, which none of these maps' folders holds
// unless a line says so.
TEST_F(DriveMapCurrentTest, TheProgramsFolderKeepsZUnlessTheMapPlacesItOrNamesZ) {
  struct Case {
    const char* map;
    unsigned zType;
    const char* moduleRoot;  // how the program's path begins; empty: it has no Windows form
    const char* problem;     // part of ProgramFolderProblem(); empty: none
  };
  const Case cases[] = {
      {"C: @/c\n", platform::DRIVE_FIXED, "Z:\\", ""},
      {"C: @/c\nz: - cdrom\n", platform::DRIVE_CDROM, "", "is on no drive of the drive map"},
      {"P: /\n", platform::DRIVE_NO_ROOT_DIR, "P:\\", ""},
      {"Z: @\n", platform::DRIVE_FIXED, "", "add a line for it, such as \"Z: / fixed\""},
  };
  for (const Case& c : cases) {
    UseMap(c.map);
    EXPECT_EQ(c.zType, win::GetDriveTypeA("Z:\\")) << c.map;
    const std::string module = win::GetModuleFileNameA();
    EXPECT_EQ(std::string(c.moduleRoot), module.substr(0, std::string(c.moduleRoot).size())) << c.map;
    EXPECT_EQ(*c.moduleRoot == '\0', module.empty()) << c.map << module;
    const std::string problem = win::DriveMap::ProgramFolderProblem();
    EXPECT_EQ(*c.problem == '\0', problem.empty()) << c.map << problem;
    EXPECT_NE(std::string::npos, problem.find(c.problem)) << c.map << problem;
  }
  ::setenv("VELMORA_DRIVES", (root_ + "/missing").c_str(), 1);
  EXPECT_NE(std::string::npos,
            win::DriveMap::ProgramFolderProblem().find(root_ + "/missing (VELMORA_DRIVES) cannot be read"));
}
#endif

TEST_F(DriveMapCurrentTest, AMapFileRewrittenInPlaceIsReadAgain) {
  std::string file = root_ + "/drives";
  std::ofstream(file, std::ios::binary) << "C: /\n";
  ::setenv("VELMORA_DRIVES", file.c_str(), 1);
  EXPECT_EQ(platform::DRIVE_FIXED, win::GetDriveTypeA("C:\\"));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << "C: / cdrom\n";
  EXPECT_EQ(platform::DRIVE_CDROM, win::GetDriveTypeA("C:\\"));
  std::filesystem::remove(file);
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("C:\\"));
}

TEST_F(DriveMapCurrentTest, AnUnreadableMapFileMapsNothing) {
  ::setenv("VELMORA_DRIVES", (root_ + "/missing").c_str(), 1);
  EXPECT_EQ(platform::DRIVE_NO_ROOT_DIR, win::GetDriveTypeA("Z:\\"));
  EXPECT_FALSE(win::PathFileExistsA("Z:\\tmp"));
}

}  // namespace

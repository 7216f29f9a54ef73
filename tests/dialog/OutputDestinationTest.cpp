// The character and drive rules of the output destination.
#include "dialog/OutputDestination.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DriveWorld.h"

namespace {

TEST(PathCharacters, ForbiddenAfterTheDriveColon) {
  EXPECT_TRUE(HasValidPathCharacters("C:\\Out\\a.xml"));
  EXPECT_TRUE(HasValidPathCharacters("a.xml"));
  EXPECT_FALSE(HasValidPathCharacters("C:\\*.xml"));
  EXPECT_FALSE(HasValidPathCharacters("C:*"));
  for (char c : std::string("/:,;*?\"><|")) {
    EXPECT_FALSE(HasValidPathCharacters(std::string("C:\\a") + c + "b.xml")) << c;
  }
  EXPECT_FALSE(HasValidPathCharacters("C:\\Out\\\\a.xml"));
  EXPECT_FALSE(HasValidPathCharacters("\\\\C:\\a.xml"));
}

TEST(PathCharacters, DoubleByteTrailBytesAreNotTaken) {
  // ー is 0x81 0x5B and ポ 0x83 0x7C: the 0x7C trail byte is no vertical bar, and 表 (0x95 0x5C)
  // followed by a separator is no doubled separator.
  EXPECT_TRUE(HasValidPathCharacters("C:\\\x83\x7C\\a.xml"));
  EXPECT_TRUE(HasValidPathCharacters("C:\\\x95\x5C\\a.xml"));
  EXPECT_FALSE(HasValidPathCharacters("C:\\\x95\x5C\\\\a.xml"));
}

TEST(PathCharacters, NetworkPaths) {
  EXPECT_TRUE(HasValidPathCharacters("\\\\server\\share\\a.xml"));
  EXPECT_FALSE(HasValidPathCharacters("\\\\server\\\\share\\a.xml"));
  EXPECT_FALSE(HasValidPathCharacters("\\\\server\\share:\\a.xml"));
}

using DriveRule = DriveWorld;

TEST_F(DriveRule, DriveTypesOfTheMap) {
  EXPECT_TRUE(IsUsableDrive("C:\\Out\\a.xml"));
  EXPECT_TRUE(IsUsableDrive("c:\\Out\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("E:\\a.xml"));  // CD-ROM
  // A letter with no drive behind it passes here; its folder cannot be created later.
  EXPECT_TRUE(IsUsableDrive("Q:\\Out\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("1:\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("C:\\Out\\\\a.xml"));
}

TEST_F(DriveRule, EveryDriveType) {
  std::filesystem::create_directories(root_ / "d");
  std::ofstream(root_ / "drives") << "C: " << (root_ / "c").string() << " fixed\n"
                                  << "D: " << (root_ / "d").string() << " removable\n"
                                  << "F: - removable\n"
                                  << "G: " << (root_ / "d").string() << " remote\n"
                                  << "H: - unknown\n"
                                  << "N: - noroot\n"
                                  << "R: " << (root_ / "d").string() << " ramdisk\n"
                                  << "E: - cdrom\n";
  // Removable, fixed and remote drives need a root that can be read and written.
  EXPECT_TRUE(IsUsableDrive("D:\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("F:\\a.xml"));
  EXPECT_TRUE(IsUsableDrive("g:\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("H:\\a.xml"));  // type cannot be determined
  EXPECT_TRUE(IsUsableDrive("N:\\a.xml"));   // no root directory passes this rule
  EXPECT_FALSE(IsUsableDrive("R:\\a.xml"));  // RAM disk, even with a folder behind it
  EXPECT_FALSE(IsUsableDrive("E:\\a.xml"));
}

TEST_F(DriveRule, NetworkShareNeedsItsShareName) {
  EXPECT_TRUE(IsUsableDrive("\\\\srv\\share\\Out\\a.xml"));
  EXPECT_TRUE(IsUsableDrive("\\\\SRV\\Share\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("\\\\srv\\other\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("\\\\server\\a.xml"));
  EXPECT_FALSE(IsUsableDrive("\\\\server"));
  EXPECT_FALSE(IsUsableDrive("\\\\nosuchserver\\share\\a.xml"));
}

}  // namespace

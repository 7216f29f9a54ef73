// Path routines: the double-byte rule in every split, and folder creation with rollback on
// the drive map (names on disk in UTF-8).
#include "dialog/PathRoutines.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "DriveWorld.h"
#include "platform/Faults.h"

namespace {

// 表 in code page 932: its second byte is 0x5C, the separator's byte.
const std::string kHyo = "\x95\x5C";

TEST(PathParts, DoubleByteSecondByteIsNoSeparator) {
  EXPECT_EQ("C:\\", dialog::FolderPart("C:\\" + kHyo));
  EXPECT_EQ(kHyo, dialog::FileNamePart("C:\\" + kHyo));
  EXPECT_EQ("C:\\" + kHyo + "\\", dialog::FolderPart("C:\\" + kHyo + "\\a.xml"));
  EXPECT_EQ("a.xml", dialog::FileNamePart("C:\\" + kHyo + "\\a.xml"));
  EXPECT_EQ("", dialog::FolderPart("a.xml"));
  EXPECT_EQ("a.xml", dialog::FileNamePart("a.xml"));
  EXPECT_EQ("", dialog::FileNamePart("C:\\Out\\"));
}

TEST(PathParts, EnsureTrailingSeparator) {
  std::string hyo = "C:\\" + kHyo;
  ASSERT_TRUE(dialog::EnsureTrailingSeparator(hyo, 261));
  EXPECT_EQ("C:\\" + kHyo + "\\", hyo);
  std::string ends = "C:\\Out\\";
  ASSERT_TRUE(dialog::EnsureTrailingSeparator(ends, 261));
  EXPECT_EQ("C:\\Out\\", ends);
  std::string empty;
  EXPECT_FALSE(dialog::EnsureTrailingSeparator(empty, 261));
  std::string full(260, 'a');
  EXPECT_FALSE(dialog::EnsureTrailingSeparator(full, 261));
  EXPECT_EQ(260u, full.size());
  std::string fits(259, 'a');
  EXPECT_TRUE(dialog::EnsureTrailingSeparator(fits, 261));
  EXPECT_EQ(260u, fits.size());
}

TEST(PathParts, CaseFoldingLeavesDoubleByteCharactersAlone) {
  EXPECT_TRUE(dialog::EqualsIgnoreCase("C:\\Out", "c:\\oUT"));
  // 0x83 0x41 (ア) and 0x83 0x61 (ッ) differ only by a trail byte that looks like a letter.
  EXPECT_FALSE(dialog::EqualsIgnoreCase("\x83\x41", "\x83\x61"));
}

using FolderTree = DriveWorld;

TEST_F(FolderTree, DoubleByteFolderCreatedUnderItsWholeName) {
  std::filesystem::create_directories(OnC("Out"));
  ASSERT_TRUE(dialog::CreateFolderTree("C:\\Out\\" + kHyo + "\\"));
  EXPECT_TRUE(std::filesystem::is_directory(OnC("Out/表")));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(OnC("Out"))) ++entries;
  EXPECT_EQ(1, entries);
  EXPECT_TRUE(dialog::IsExistingFolder("C:\\Out\\" + kHyo + "\\"));
}

TEST_F(FolderTree, NestedLevelsAndExistingOnes) {
  ASSERT_TRUE(dialog::CreateFolderTree("C:\\a\\b\\c\\"));
  EXPECT_TRUE(std::filesystem::is_directory(OnC("a/b/c")));
  ASSERT_TRUE(dialog::CreateFolderTree("c:\\a\\b\\c\\d\\"));
  EXPECT_TRUE(std::filesystem::is_directory(OnC("a/b/c/d")));
  EXPECT_FALSE(dialog::CreateFolderTree("relative\\folder\\"));
  EXPECT_FALSE(dialog::CreateFolderTree(""));
}

TEST_F(FolderTree, ThirdLevelFailsAndTheFirstTwoAreRemoved) {
  std::filesystem::create_directories(OnC("Keep"));
  platform::faults::Set("CreateDirectoryA@Keep\\x\\y\\z");
  EXPECT_FALSE(dialog::CreateFolderTree("C:\\Keep\\x\\y\\z\\"));
  EXPECT_TRUE(std::filesystem::is_directory(OnC("Keep")));
  EXPECT_FALSE(std::filesystem::exists(OnC("Keep/x")));
}

TEST_F(FolderTree, RollbackStopsAtTheDeepestExistingFolder) {
  std::filesystem::create_directories(OnC("A/B/x/y"));
  dialog::RemoveCreatedFolders("C:\\A\\B\\x\\y\\z\\", "C:\\a\\b\\");
  EXPECT_TRUE(std::filesystem::is_directory(OnC("A/B")));
  EXPECT_FALSE(std::filesystem::exists(OnC("A/B/x")));
  // Folders on another root, or not below the existing one, are never touched.
  std::filesystem::create_directories(OnC("P/q"));
  dialog::RemoveCreatedFolders("C:\\P\\q\\", "D:\\P\\");
  dialog::RemoveCreatedFolders("C:\\P\\q\\", "C:\\R\\");
  EXPECT_TRUE(std::filesystem::is_directory(OnC("P/q")));
}

}  // namespace

// The file and folder calls on the drive map: names with double-byte characters on disk,
// Windows failure rules of folder creation and removal, access tests per drive type, the
// File class, replacement by rename, and the fault points of these calls.
#include <gtest/gtest.h>

#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "tests/platform/TempDrives.h"

namespace win = platform::win;
namespace faults = platform::faults;

namespace {

const std::string kHyo = "\x95\x5C";  // 表
const std::string kSo = "\x83\x5C";   // ソ

class WinFsTest : public platform::testing::TempDrives {
 protected:
  void SetUp() override {
    TempDrives::SetUp();
    Make("c");
    Make("cd/data");
    WriteFile("cd/data/file.txt", "cd");
    UseMap("C: @/c fixed\nE: @/cd cdrom\nR: @/c removable\n\\\\srv\\share @/c\n");
  }
  void TearDown() override {
    faults::Clear();
    TempDrives::TearDown();
  }
};

TEST_F(WinFsTest, FolderWithDoubleByteNameIsCreatedUnderItsUtf8Name) {
  std::string folder = "C:\\" + kHyo;
  ASSERT_TRUE(win::CreateDirectoryA(folder));
  EXPECT_TRUE(OnDisk("c/表"));
  ASSERT_TRUE(win::CreateDirectoryA(folder + "\\" + kSo + "\\"));
  EXPECT_TRUE(OnDisk("c/表/ソ"));
  EXPECT_TRUE(win::PathIsDirectoryA(folder + "\\" + kSo));
  EXPECT_EQ(win::FileStatus::Directory, win::GetFileStatus(folder));
  // The 0x5C of 表 must not have made a folder of the lead byte alone.
  EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(Utf8(root_ + "/c")), {}) +
                   std::distance(std::filesystem::directory_iterator(Utf8(root_ + "/c/表")), {}));
}

TEST_F(WinFsTest, CreateDirectoryFailsWhenItExistsOrTheParentIsMissing) {
  EXPECT_TRUE(win::CreateDirectoryA("C:\\a"));
  EXPECT_FALSE(win::CreateDirectoryA("C:\\a"));
  EXPECT_FALSE(win::CreateDirectoryA("C:\\x\\y"));
  EXPECT_FALSE(OnDisk("c/x"));
  EXPECT_FALSE(win::CreateDirectoryA("E:\\new"));
  EXPECT_FALSE(OnDisk("cd/new"));
  EXPECT_FALSE(win::CreateDirectoryA("Q:\\new"));
  EXPECT_TRUE(win::CreateDirectoryA("\\\\SRV\\share\\b"));
  EXPECT_TRUE(OnDisk("c/b"));
}

TEST_F(WinFsTest, RemoveDirectoryOnlyEmptiesAndDeleteFileOnlyFiles) {
  Make("c/full/inner");
  WriteFile("c/f.txt", "x");
  EXPECT_FALSE(win::RemoveDirectoryA("C:\\full"));
  EXPECT_FALSE(win::DeleteFileA("C:\\full\\inner"));
  EXPECT_TRUE(win::RemoveDirectoryA("C:\\full\\inner"));
  EXPECT_FALSE(OnDisk("c/full/inner"));
  EXPECT_FALSE(win::RemoveDirectoryA("C:\\f.txt"));
  EXPECT_TRUE(win::DeleteFileA("C:\\f.txt"));
  EXPECT_FALSE(OnDisk("c/f.txt"));
  EXPECT_FALSE(win::DeleteFileA("C:\\f.txt"));
  EXPECT_FALSE(win::DeleteFileA("E:\\data\\file.txt"));
  EXPECT_FALSE(win::RemoveDirectoryA("E:\\data"));
  EXPECT_TRUE(OnDisk("cd/data/file.txt"));
}

TEST_F(WinFsTest, AccessModesAndReadOnlyDrives) {
  WriteFile("c/f.txt", "x");
  EXPECT_EQ(0, win::_access("C:\\f.txt", 0));
  EXPECT_EQ(0, win::_access("C:\\f.txt", 6));
  EXPECT_EQ(0, win::_access("R:\\", 6));
  EXPECT_EQ(0, win::_access("\\\\srv\\share", 6));
  EXPECT_EQ(-1, win::_access("C:\\missing", 0));
  EXPECT_EQ(-1, win::_access("C:\\f.txt", 1));
  EXPECT_EQ(0, win::_access("E:\\data\\file.txt", 0));
  EXPECT_EQ(0, win::_access("E:\\", 4));
  EXPECT_EQ(-1, win::_access("E:\\", 6));
  EXPECT_EQ(-1, win::_access("E:\\", 2));
  EXPECT_EQ(-1, win::_access("Q:\\", 0));
  EXPECT_EQ(-1, win::_access("\\\\srv\\none", 0));
}

TEST_F(WinFsTest, FileStatusAndExistence) {
  WriteFile("c/f.txt", "x");
  EXPECT_EQ(win::FileStatus::File, win::GetFileStatus("C:\\f.txt"));
  EXPECT_EQ(win::FileStatus::Directory, win::GetFileStatus("C:\\"));
  EXPECT_EQ(win::FileStatus::Absent, win::GetFileStatus("C:\\g.txt"));
  EXPECT_EQ(win::FileStatus::Absent, win::GetFileStatus("C:\\f.txt\\"));
  EXPECT_TRUE(win::PathFileExistsA("C:\\f.txt"));
  EXPECT_FALSE(win::PathIsDirectoryA("C:\\f.txt"));
  EXPECT_FALSE(win::PathFileExistsA("Q:\\"));
}

TEST_F(WinFsTest, FileCreateTruncatesWritesAndReadsBack) {
  WriteFile("c/out.xml", "old content that is longer");
  {
    win::File file;
    ASSERT_TRUE(file.Create("C:\\out.xml"));
    EXPECT_TRUE(file.IsOpen());
    ASSERT_TRUE(file.Write("\x95\x5C\r\n", 4));
    ASSERT_TRUE(file.Write("z", 1));
  }
  EXPECT_EQ("\x95\x5C\r\nz", ReadFile("c/out.xml"));
  EXPECT_EQ(std::optional<std::string>("\x95\x5C\r\nz"), win::ReadWholeFile("C:\\out.xml"));
  win::File reader;
  ASSERT_TRUE(reader.OpenRead("C:\\out.xml"));
  char buffer[3];
  EXPECT_EQ(3, reader.Read(buffer, 3));
  EXPECT_EQ(2, reader.Read(buffer, 3));
  EXPECT_EQ(0, reader.Read(buffer, 3));
  EXPECT_FALSE(reader.Write("x", 1));
  reader.Close();
  EXPECT_EQ(-1, reader.Read(buffer, 3));
  EXPECT_EQ(std::nullopt, win::ReadWholeFile("C:\\none.xml"));
}

TEST_F(WinFsTest, FileCreateIsExclusiveAndRefusedOnReadOnlyDrives) {
  win::File first;
  ASSERT_TRUE(first.Create("C:\\out.xml"));
  ASSERT_TRUE(first.Write("abc", 3));
  win::File second;
  EXPECT_FALSE(second.Create("C:\\out.xml"));
  first.Close();
  EXPECT_EQ("abc", ReadFile("c/out.xml"));
  EXPECT_TRUE(second.Create("C:\\out.xml"));
  EXPECT_FALSE(second.Create("E:\\data\\new.xml"));
  EXPECT_FALSE(second.IsOpen());
  EXPECT_FALSE(OnDisk("cd/data/new.xml"));
  EXPECT_FALSE(second.Create("C:\\nofolder\\a.xml"));
}

TEST_F(WinFsTest, MoveFileReplaceSwapsInTheNewFile) {
  WriteFile("c/a.tmp", "new");
  WriteFile("c/a.xml", "old");
  ASSERT_TRUE(win::MoveFileReplace("C:\\a.tmp", "C:\\a.xml"));
  EXPECT_EQ("new", ReadFile("c/a.xml"));
  EXPECT_FALSE(OnDisk("c/a.tmp"));
  EXPECT_FALSE(win::MoveFileReplace("C:\\a.tmp", "C:\\a.xml"));
  EXPECT_FALSE(win::MoveFileReplace("C:\\a.xml", "E:\\data\\a.xml"));
  EXPECT_EQ("new", ReadFile("c/a.xml"));
}

TEST_F(WinFsTest, FaultPointsFireOnTheirPaths) {
  faults::Set("CreateDirectoryA@" + kHyo + ",FileCreate@b.xml,MoveFileReplace@c.xml");
  EXPECT_FALSE(win::CreateDirectoryA("C:\\" + kHyo));
  EXPECT_FALSE(OnDisk("c/表"));
  EXPECT_TRUE(win::CreateDirectoryA("C:\\plain"));
  win::File file;
  EXPECT_FALSE(file.Create("C:\\b.xml"));
  EXPECT_FALSE(OnDisk("c/b.xml"));
  EXPECT_TRUE(file.Create("C:\\a.xml"));
  file.Close();
  WriteFile("c/c.xml", "old");
  EXPECT_FALSE(win::MoveFileReplace("C:\\a.xml", "C:\\c.xml"));
  EXPECT_EQ("old", ReadFile("c/c.xml"));
  EXPECT_TRUE(OnDisk("c/a.xml"));
}

TEST_F(WinFsTest, FileWriteFaultFiresFromTheNthWriteOfThatFile) {
  faults::Set("FileWrite@out.xml#3");
  win::File other;
  ASSERT_TRUE(other.Create("C:\\other.txt"));
  win::File file;
  ASSERT_TRUE(file.Create("C:\\out.xml"));
  EXPECT_TRUE(file.Write("1", 1));
  EXPECT_TRUE(other.Write("x", 1));
  EXPECT_TRUE(file.Write("2", 1));
  EXPECT_FALSE(file.Write("3", 1));
  EXPECT_FALSE(file.Write("4", 1));
  EXPECT_TRUE(other.Write("y", 1));
  file.Close();
  other.Close();
  EXPECT_EQ("12", ReadFile("c/out.xml"));
  EXPECT_EQ("xy", ReadFile("c/other.txt"));
}

TEST_F(WinFsTest, BufferedBytesReachTheFileByBlockAndAtClose) {
  win::File file;
  ASSERT_TRUE(file.Create("C:\\big.xml"));
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = "\t<Line>" + std::to_string(i) + "</Line>\r\n";
    ASSERT_TRUE(file.Write(line.data(), line.size()));
    expected += line;
  }
  // More than a block has been written: the file already holds whole blocks.
  const std::size_t before = ReadFile("c/big.xml").size();
  EXPECT_GT(before, 0u);
  EXPECT_LT(before, expected.size());
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(expected, ReadFile("c/big.xml"));
  EXPECT_TRUE(file.Close());
}

TEST_F(WinFsTest, AFlushThatFailsIsReportedByClose) {
  faults::Set("FileFlush@lost.xml");
  win::File file;
  ASSERT_TRUE(file.Create("C:\\lost.xml"));
  EXPECT_TRUE(file.Write("buffered", 8));
  EXPECT_FALSE(file.Close());
  EXPECT_EQ("", ReadFile("c/lost.xml"));
}

}  // namespace

TEST_F(WinFsTest, TemporaryFilesAreNewShortAndOfTheirOwnBesideTheTarget) {
  const std::string longName(255, 'a');  // the longest name the file system takes
  WriteFile("c/" + longName, "old");
  win::File first;
  win::File second;
  ASSERT_TRUE(first.CreateTemporary("C:\\" + longName));
  ASSERT_TRUE(second.CreateTemporary("C:\\" + longName));
  const std::string firstPath = first.TemporaryPath();
  EXPECT_NE(firstPath, second.TemporaryPath());
  for (const std::string& path : {firstPath, second.TemporaryPath()}) {
    EXPECT_EQ(0u, path.rfind("C:\\", 0)) << path;
    EXPECT_LE(path.size(), 3u + 16u) << path;
  }
  ASSERT_TRUE(first.Write("new", 3));
  ASSERT_TRUE(first.Close());
  EXPECT_EQ(firstPath, first.TemporaryPath());
  ASSERT_TRUE(win::MoveFileReplace(firstPath, "C:\\" + longName));
  EXPECT_EQ("new", ReadFile("c/" + longName));
  EXPECT_FALSE(second.CreateTemporary("E:\\data\\a.xml"));
  EXPECT_FALSE(second.CreateTemporary("C:\\nofolder\\a.xml"));
  faults::Set("FileCreate@a.xml");
  EXPECT_FALSE(second.CreateTemporary("C:\\a.xml"));
}

TEST_F(WinFsTest, AFailedReadIsAnErrorNotAShorterFile) {
  WriteFile("c/in.ini", "[a]\r\nb=1\r\n");
  faults::Set("FileRead@in.ini");
  EXPECT_EQ(std::nullopt, win::ReadWholeFile("C:\\in.ini"));
  faults::Clear();
  EXPECT_EQ(std::optional<std::string>("[a]\r\nb=1\r\n"), win::ReadWholeFile("C:\\in.ini"));
}

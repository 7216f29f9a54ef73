// Windows path syntax over code page 932 text, and the translation between Windows-form
// and Linux paths. Names with 表 (0x95 0x5C) and ソ (0x83 0x5C) check that their 0x5C
// second byte is never a separator.
#include <gtest/gtest.h>

#include "platform/WinFs.h"
#include "tests/platform/TempDrives.h"

namespace win = platform::win;

namespace {

const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

void ExpectSplit(const std::string& path, const std::string& drive, const std::string& dir,
                 const std::string& fname, const std::string& ext) {
  win::SplitPath parts = win::_splitpath(path);
  EXPECT_EQ(drive, parts.drive) << path;
  EXPECT_EQ(dir, parts.dir) << path;
  EXPECT_EQ(fname, parts.fname) << path;
  EXPECT_EQ(ext, parts.ext) << path;
}

TEST(SplitPathTest, WindowsRules) {
  ExpectSplit("C:\\Out\\a.b.xml", "C:", "\\Out\\", "a.b", ".xml");
  ExpectSplit("C:a.xml", "C:", "", "a", ".xml");
  ExpectSplit("\\\\srv\\share\\x", "", "\\\\srv\\share\\", "x", "");
  ExpectSplit("C:\\dir.d\\noext", "C:", "\\dir.d\\", "noext", "");
  ExpectSplit(".profile", "", "", "", ".profile");
  ExpectSplit("C:\\Out\\", "C:", "\\Out\\", "", "");
  ExpectSplit("a/b.txt", "", "", "a/b", ".txt");
  ExpectSplit("", "", "", "", "");
}

TEST(SplitPathTest, DoubleByteSecondByteIsNotASeparator) {
  ExpectSplit("C:\\" + kHyo, "C:", "\\", kHyo, "");
  ExpectSplit("C:\\" + kHyo + "\\" + kSo + ".xml", "C:", "\\" + kHyo + "\\", kSo, ".xml");
  ExpectSplit("C:\\a" + kSo + kSo, "C:", "\\", "a" + kSo + kSo, "");
}

TEST(SplitPathTest, ComponentsAreCutWithoutSplittingACharacter) {
  std::string longName(254, 'n');
  win::SplitPath parts = win::_splitpath("C:\\" + longName + kHyo + "x.txt");
  EXPECT_EQ(longName, parts.fname);
  EXPECT_EQ(".txt", parts.ext);
}

TEST(PathRootTest, SkipRoot) {
  EXPECT_EQ(std::optional<std::size_t>(3), win::PathSkipRootA("C:\\"));
  EXPECT_EQ(std::optional<std::size_t>(3), win::PathSkipRootA("C:\\a\\b"));
  EXPECT_EQ(std::optional<std::size_t>(12), win::PathSkipRootA("\\\\srv\\share\\x"));
  EXPECT_EQ(std::optional<std::size_t>(5 + kHyo.size()), win::PathSkipRootA("\\\\s\\" + kHyo + "\\x"));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA("\\\\srv\\" + kSo));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA("\\\\srv\\share"));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA("C:"));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA("C:a"));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA("a\\b"));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA("\\a"));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA(""));
  EXPECT_EQ(std::nullopt, win::PathSkipRootA(kHyo + ":\\"));
}

TEST(PathRootTest, StripToRoot) {
  auto strip = [](std::string path) {
    bool ok = win::PathStripToRootA(path);
    return std::make_pair(ok, path);
  };
  EXPECT_EQ(std::make_pair(true, std::string("C:\\")), strip("C:\\a\\b.xml"));
  EXPECT_EQ(std::make_pair(true, std::string("C:\\")), strip("C:\\"));
  EXPECT_EQ(std::make_pair(true, std::string("\\\\srv\\share")), strip("\\\\srv\\share\\a\\b"));
  EXPECT_EQ(std::make_pair(true, "\\\\srv\\" + kHyo), strip("\\\\srv\\" + kHyo + "\\a"));
  EXPECT_EQ(std::make_pair(true, std::string("\\")), strip("\\a\\b"));
  EXPECT_EQ(std::make_pair(false, std::string("a\\b")), strip("a\\b"));
  EXPECT_EQ(std::make_pair(false, std::string()), strip(""));
}

TEST(PathRootTest, TrailingSeparatorIsAByteOfItsOwn) {
  EXPECT_TRUE(win::EndsWithSeparator("C:\\"));
  EXPECT_TRUE(win::EndsWithSeparator("C:\\" + kHyo + "\\"));
  EXPECT_FALSE(win::EndsWithSeparator("C:\\" + kHyo));
  EXPECT_FALSE(win::EndsWithSeparator(kSo));
  // 0x83 0x83 is one character, so the 0x5C after it stands alone.
  EXPECT_TRUE(win::EndsWithSeparator("\x83\x83\x5C"));
  EXPECT_FALSE(win::EndsWithSeparator("C:"));
  EXPECT_FALSE(win::EndsWithSeparator(""));
}

using PathTranslationTest = platform::testing::TempDrives;

TEST_F(PathTranslationTest, WindowsToLinux) {
  UseMap("C: @/c\nD: @/d/\nE: - cdrom\n\\\\Srv\\Share @/share\n");
  EXPECT_EQ(platform::testing::Native(root_ + "/c"), win::ToNativePath("C:\\").value_or("none"));
  EXPECT_EQ(platform::testing::Native(root_ + "/c/a/b.xml"),
            win::ToNativePath("c:\\a\\b.xml").value_or("none"));
  EXPECT_EQ(platform::testing::Native(root_ + "/c/a/"), win::ToNativePath("C:\\a\\").value_or("none"));
  EXPECT_EQ(platform::testing::Native(root_ + "/d/表/ソ"),
            win::ToNativePath("D:\\" + kHyo + "\\" + kSo).value_or("none"));
  EXPECT_EQ(platform::testing::Native(root_ + "/d/表ソ"),
            win::ToNativePath("D:\\" + kHyo + kSo).value_or("none"));
  EXPECT_EQ(platform::testing::Native(root_ + "/c/b"),
            win::ToNativePath("C:\\a\\..\\..\\.\\b").value_or("none"));
  EXPECT_EQ(platform::testing::Native(root_ + "/share/x"),
            win::ToNativePath("\\\\srv\\SHARE\\x").value_or("none"));
  EXPECT_EQ(std::nullopt, win::ToNativePath("E:\\x"));
  EXPECT_EQ(std::nullopt, win::ToNativePath("F:\\x"));
  EXPECT_EQ(std::nullopt, win::ToNativePath("\\\\srv\\other\\x"));
  EXPECT_EQ(std::nullopt, win::ToNativePath("C:\\a/b"));
  EXPECT_EQ(std::nullopt, win::ToNativePath("C:\\\x85\x40"));
  EXPECT_EQ(std::nullopt, win::ToNativePath(""));
}

TEST_F(PathTranslationTest, LinuxToWindowsTakesTheLongestDriveFolder) {
  // Z: is named, without a folder: it would otherwise stay "/" for the program's folder.
  UseMap("C: @\nD: @/d\nE: @/d\n\\\\srv\\share @/d/s\nZ: - fixed\n");
  EXPECT_EQ("C:\\", win::ToWindowsPath(root_).value_or("none"));
  EXPECT_EQ("C:\\dd", win::ToWindowsPath(root_ + "/dd").value_or("none"));
  EXPECT_EQ("D:\\", win::ToWindowsPath(root_ + "/d/").value_or("none"));
  EXPECT_EQ("D:\\" + kHyo + "\\x.xml", win::ToWindowsPath(root_ + "/d/表/x.xml").value_or("none"));
  EXPECT_EQ("\\\\srv\\share\\" + kSo, win::ToWindowsPath(root_ + "/d/s/ソ").value_or("none"));
  EXPECT_EQ("C:\\a", win::ToWindowsPath(root_ + "/d/../a").value_or("none"));
  EXPECT_EQ(std::nullopt, win::ToWindowsPath("/elsewhere"));
#ifndef _WIN32
  // On Windows a backslash is a separator: no name can hold one.
  EXPECT_EQ(std::nullopt, win::ToWindowsPath(root_ + "/back\\slash"));
#endif
  EXPECT_EQ(std::nullopt, win::ToWindowsPath(root_ + "/\xF0\x9F\x98\x80"));
}

TEST_F(PathTranslationTest, RelativePathsFollowTheCurrentFolder) {
  Make("c/work/sub");
  UseMap("C: @/c\n");
  ASSERT_TRUE(win::_chdir("C:\\work"));
  EXPECT_EQ("C:\\work", win::_getcwd());
  EXPECT_EQ(platform::testing::Native(root_ + "/c/work/sub"), win::ToNativePath("sub").value_or("none"));
  EXPECT_EQ(platform::testing::Native(root_ + "/c/x"), win::ToNativePath("\\x").value_or("none"));
  EXPECT_TRUE(win::PathIsDirectoryA("sub"));
  ASSERT_TRUE(win::_chdir("sub"));
  EXPECT_EQ("C:\\work\\sub", win::_getcwd());
  EXPECT_FALSE(win::_chdir("C:\\missing"));
  EXPECT_EQ("C:\\work\\sub", win::_getcwd());
}

TEST_F(PathTranslationTest, TempFolderAndModuleFileInWindowsForm) {
  Make("tmp");
  UseMap("T: @/tmp\nZ: /\n");
#ifdef _WIN32
  const char* kTempVariable = "TMP";
#else
  const char* kTempVariable = "TMPDIR";
#endif
  ::setenv(kTempVariable, (root_ + "/tmp").c_str(), 1);
  EXPECT_EQ("T:\\", win::GetTempPathA());
  Make("tmp/inner");
  ::setenv(kTempVariable, (root_ + "/tmp/inner").c_str(), 1);
  EXPECT_EQ("T:\\inner\\", win::GetTempPathA());
  ::unsetenv(kTempVariable);
#ifndef _WIN32
  EXPECT_EQ("Z:\\tmp\\", win::GetTempPathA());
#endif
  std::string module = win::GetModuleFileNameA();
  EXPECT_EQ(0u, module.rfind("Z:\\", 0)) << module;
  EXPECT_TRUE(win::PathFileExistsA(module)) << module;
}

}  // namespace

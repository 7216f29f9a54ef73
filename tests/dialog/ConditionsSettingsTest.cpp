// The settings file written and read through the dialog: one line per user and data with the
// latest at the end, a file per edition, parent mode keeping the remembered path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ConditionsHarness.h"
#include "platform/Faults.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr int32_t kAprilStart = 20240401, kMarchEnd = 20250331;

class ConditionsSettingsTest : public ConditionsHarness {
 protected:
  std::string FileText(const std::string& relative) const { return velmora::test::ReadBytes(OnC(relative)); }
};

TEST_F(ConditionsSettingsTest, TwoDataTwoEditions) {
  Host("C:\\Out\\", "C:\\Cfg\\Sub\\");
  const std::string first = "C:\\Out\\a.xml";
  const std::string second = Sj("C:\\表\\b.xml");
  // The settings folder does not exist yet: the first save creates it.
  ASSERT_TRUE(Dialog(kAprilStart, kMarchEnd, 1)->SaveSettings(4, 3, 1, 1, &first));
  EXPECT_EQ("user1/1/1:4/3/1/1/C:\\Out\\a.xml\n", FileText("Cfg/Sub/Velmora1.env"));
  ASSERT_TRUE(Dialog(kAprilStart, kMarchEnd, 2)->SaveSettings(10, 12, 2, 0, &second));
  ASSERT_TRUE(Dialog(kAprilStart, kMarchEnd, 1)->SaveSettings(5, 6, 1, 1, &first));
  EXPECT_EQ("user1/1/2:10/12/2/0/" + second + "\nuser1/1/1:5/6/1/1/C:\\Out\\a.xml\n",
            FileText("Cfg/Sub/Velmora1.env"));

  int16_t firstMonth = 0, lastMonth = 0, kind = 1;
  int32_t ledger = 1;
  std::string path;
  EXPECT_FALSE(
      Dialog(kAprilStart, kMarchEnd, 2, kVelmora2)->LoadSettings(firstMonth, lastMonth, kind, ledger, path));
  EXPECT_EQ(0, firstMonth);
  ASSERT_TRUE(Dialog(kAprilStart, kMarchEnd, 2)->LoadSettings(firstMonth, lastMonth, kind, ledger, path));
  EXPECT_EQ(10, firstMonth);
  EXPECT_EQ(12, lastMonth);
  EXPECT_EQ(2, kind);
  EXPECT_EQ(0, ledger);
  EXPECT_EQ(second, path);

  ASSERT_TRUE(Dialog(kAprilStart, kMarchEnd, 2, kVelmora2)->SaveSettings(7, 8, 1, 1, &first));
  EXPECT_EQ("user1/1/2:7/8/1/1/C:\\Out\\a.xml\n", FileText("Cfg/Sub/Velmora2.env"));
  EXPECT_EQ("user1/1/2:10/12/2/0/" + second + "\nuser1/1/1:5/6/1/1/C:\\Out\\a.xml\n",
            FileText("Cfg/Sub/Velmora1.env"));
}

TEST_F(ConditionsSettingsTest, ParentModeStoresTheRememberedPath) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  std::filesystem::create_directories(OnC("Settings"));
  std::ofstream(OnC("Settings/Velmora1.env")) << "user1/1/1:4/3/1/1/C:\\Mine\\m.xml\n";
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  dialog->hostOutputPath = "C:\\Out\\host.xml";
  ASSERT_EQ(1002, Run(*dialog, "key F12\n"));
  ASSERT_TRUE(dialog->SaveSettings(4, 3, 1, 1, nullptr));
  EXPECT_EQ("user1/1/1:4/3/1/1/C:\\Mine\\m.xml\n", FileText("Settings/Velmora1.env"));

  // Without an earlier line the parent-mode save stores an empty path.
  auto fresh = Dialog(kAprilStart, kMarchEnd, 2);
  fresh->hostOutputPath = "C:\\Out\\host.xml";
  ASSERT_EQ(1002, Run(*fresh, "key F12\n"));
  ASSERT_TRUE(fresh->SaveSettings(4, 3, 1, 1, nullptr));
  EXPECT_EQ("user1/1/1:4/3/1/1/C:\\Mine\\m.xml\nuser1/1/2:4/3/1/1/\n", FileText("Settings/Velmora1.env"));
}

TEST_F(ConditionsSettingsTest, FailedSaveKeepsTheOldFile) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Settings"));
  std::ofstream(OnC("Settings/Velmora1.env"), std::ios::binary) << "other/0/0:1/1/1/1/\n";
  const std::string path = "C:\\Out\\a.xml";
  platform::faults::Set("MoveFileReplace@Velmora1.env");
  EXPECT_FALSE(Dialog(kAprilStart, kMarchEnd)->SaveSettings(4, 3, 1, 1, &path));
  EXPECT_EQ("other/0/0:1/1/1/1/\n", FileText("Settings/Velmora1.env"));
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(OnC("Settings")), {}));
  platform::faults::Set("FileWrite@Velmora1.env");
  EXPECT_FALSE(Dialog(kAprilStart, kMarchEnd)->SaveSettings(4, 3, 1, 1, &path));
  EXPECT_EQ("other/0/0:1/1/1/1/\n", FileText("Settings/Velmora1.env"));
}

// An old file that cannot be read whole (its first read or a later one fails) is left as it
// is: a save that went on would write the new line alone and drop the other users' lines.
TEST_F(ConditionsSettingsTest, AnOldFileThatCannotBeReadKeepsTheOtherUsersLines) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Settings"));
  const std::string others = "other/0/0:1/1/1/1/\nthird/1/2:4/3/2/0/C:\\T\\t.xml\n";
  // Longer than one read of the file (64 KiB), so that the second read is a later one.
  const std::string large = others + std::string(70000, 'x') + "\n";
  const struct {
    const char* faults;
    const std::string& content;
  } cases[] = {{"FileRead@Velmora1.env", others}, {"FileRead@Velmora1.env#2", large}};
  const std::string path = "C:\\Out\\a.xml";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.faults);
    velmora::test::WriteBytes(OnC("Settings/Velmora1.env"), c.content);
    platform::faults::Set(c.faults);
    EXPECT_FALSE(Dialog(kAprilStart, kMarchEnd)->SaveSettings(4, 3, 1, 1, &path));
    platform::faults::Clear();
    EXPECT_TRUE(FileText("Settings/Velmora1.env") == c.content) << "the old file was replaced";
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(OnC("Settings")), {}));
  }
  // Readable again, the save keeps them and puts the new line last.
  ASSERT_TRUE(Dialog(kAprilStart, kMarchEnd)->SaveSettings(4, 3, 1, 1, &path));
  EXPECT_EQ(0u, FileText("Settings/Velmora1.env").find(others));
}

TEST_F(ConditionsSettingsTest, ALinkAtTheOldTemporaryNameIsNeverFollowed) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine makes no symbolic links (docs/testing.md)";
#endif
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Settings"));
  std::ofstream(OnC("victim")) << "victim";
  std::filesystem::create_symlink(OnC("victim"), OnC("Settings/Velmora1.env.tmp"));
  const std::string path = "C:\\Out\\a.xml";
  ASSERT_TRUE(Dialog(kAprilStart, kMarchEnd)->SaveSettings(4, 3, 1, 1, &path));
  EXPECT_EQ("victim", FileText("victim"));
  EXPECT_EQ("user1/1/1:4/3/1/1/C:\\Out\\a.xml\n", FileText("Settings/Velmora1.env"));
}

TEST_F(ConditionsSettingsTest, NoSettingsFolderNoFile) {
  Host("C:\\Out\\", "");
  const std::string path = "C:\\Out\\a.xml";
  EXPECT_FALSE(Dialog(kAprilStart, kMarchEnd)->SaveSettings(4, 3, 1, 1, &path));
}

}  // namespace

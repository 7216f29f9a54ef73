// The program level check against ZentorDef.ini, read through the drive map.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/CompatibilityCheck.h"
#include "platform/WinFs.h"
#include "platform/script/ScriptBackend.h"
#include "runtime/Connect.h"
#include "tests/support/TestHost.h"
#ifndef _WIN32
#include "tests/support/FifoGuard.h"
#endif

using velmora::test::TestHost;

namespace {

class CompatibilityCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(host.cDrive() / "prog"); }

  void WriteIni(const std::string& content) {
    std::ofstream ini(host.cDrive() / "prog" / "ZentorDef.ini", std::ios::binary | std::ios::trunc);
    ini << content;
  }
  int Code(const std::string& value) {
    WriteIni("[ProgramLevel]\r\nRX52=" + value + "\r\n");
    return ProgramLevelCode("C:\\prog");
  }

  TestHost host;
};

}  // namespace

TEST(ProgramLevelFilePath, SeparatorOnlyWhereTheFolderLacksOne) {
  EXPECT_EQ("C:\\prog\\ZentorDef.ini", ProgramLevelFilePath("C:\\prog"));
  EXPECT_EQ("C:\\prog\\ZentorDef.ini", ProgramLevelFilePath("C:\\prog\\"));
  EXPECT_EQ("ZentorDef.ini", ProgramLevelFilePath(""));
  // 表 ends in the byte of the backslash: still a separator is added.
  EXPECT_EQ("C:\\\x95\x5c\\ZentorDef.ini", ProgramLevelFilePath("C:\\\x95\x5c"));
  EXPECT_EQ("C:\\\x95\x5c\\ZentorDef.ini", ProgramLevelFilePath("C:\\\x95\x5c\\"));
}

TEST_F(CompatibilityCheckTest, ValuesReadAsAtolReadsThem) {
  EXPECT_EQ(0, Code("3"));
  EXPECT_EQ(0, Code("03"));
  EXPECT_EQ(0, Code("3a"));
  EXPECT_EQ(1, Code("x"));
  EXPECT_EQ(1, Code("2"));
  EXPECT_EQ(2, Code("4"));
  EXPECT_EQ(2, Code("999999999999999"));
  EXPECT_EQ(-1, Code(""));
}

#ifndef _WIN32
// A definition file that is no regular file is never read (a FIFO would keep the check
// waiting for its writer), and counts as none.
TEST_F(CompatibilityCheckTest, ADefinitionFileThatIsNoRegularFileIsNone) {
  const std::filesystem::path ini = host.cDrive() / "prog" / "ZentorDef.ini";
  ASSERT_TRUE(velmora::test::MakeFifo(ini));
  int code = 0;
  EXPECT_TRUE(velmora::test::ReturnsWithoutWaitingOn(
      ini, [] { return ProgramLevelCode("C:\\prog"); }, code));
  EXPECT_EQ(-1, code);
}
#endif

TEST_F(CompatibilityCheckTest, MissingKeyOrFileDecideDifferently) {
  WriteIni("[Other]\r\nRX52=9\r\n");
  EXPECT_EQ(0, ProgramLevelCode("C:\\prog"));
  std::filesystem::remove(host.cDrive() / "prog" / "ZentorDef.ini");
  EXPECT_EQ(-1, ProgramLevelCode("C:\\prog"));
}

TEST_F(CompatibilityCheckTest, FolderEndingInADoubleByteBackslashFindsTheFile) {
  std::filesystem::create_directories(host.cDrive() / u8"表");
  std::ofstream(host.cDrive() / u8"表" / "ZentorDef.ini", std::ios::binary) << "[ProgramLevel]\r\nRX52=4\r\n";
  EXPECT_EQ(2, ProgramLevelCode("C:\\\x95\x5c"));
}

TEST_F(CompatibilityCheckTest, FailureShowsItsMessageOnlyWhenAsked) {
  auto backend = std::make_unique<platform::script::ScriptBackend>("");
  platform::script::ScriptBackend* recorder = backend.get();
  platform::SetUi(std::move(backend));
  ASSERT_EQ(0, ClAccConnect::Inst().Initiate());
  ASSERT_TRUE(platform::win::_chdir("C:\\prog"));
  WriteIni("[ProgramLevel]\r\nRX52=\r\n");

  EXPECT_EQ(0, CheckProgramLevel(false, 0));
  EXPECT_TRUE(recorder->Transcript().empty());

  EXPECT_EQ(0, CheckProgramLevel(true, 0));
  ASSERT_EQ(1u, recorder->Transcript().size());
  const nlohmann::json& box = recorder->Transcript()[0];
  EXPECT_EQ("動作環境が不正です。\nOrbeck２１が正しくインストールされているか確認してください。",
            box.value("text", ""));
  EXPECT_EQ("決算書", box.value("caption", ""));
  EXPECT_EQ("exclamation", box.value("icon", ""));
  EXPECT_EQ("ok", box.value("buttons", ""));

  WriteIni("[ProgramLevel]\r\nRX52=1\r\n");
  EXPECT_EQ(0, CheckProgramLevel(true, 0));
  ASSERT_EQ(2u, recorder->Transcript().size());
  EXPECT_EQ(
      "ご利用の連動コンポーネントは、インストールされているOrbeck２１では使用できません。\n"
      "Orbeck２１の最新版を入手してインストールしてからご利用ください。",
      recorder->Transcript()[1].value("text", ""));

  WriteIni("[ProgramLevel]\r\nRX52=4\r\n");
  EXPECT_EQ(0, CheckProgramLevel(true, 0));
  ASSERT_EQ(3u, recorder->Transcript().size());
  EXPECT_EQ(
      "ご利用の連動コンポーネントは、インストールされているOrbeck２１では使用できません。\n"
      "連動コンポーネントの最新版を入手してインストールしてからご利用ください。",
      recorder->Transcript()[2].value("text", ""));

  WriteIni("[ProgramLevel]\r\nRX52=3\r\n");
  EXPECT_EQ(1, CheckProgramLevel(true, 0));
  EXPECT_EQ(3u, recorder->Transcript().size());
  platform::SetUi(nullptr);
}

// The three executables: identity, exit code = run status, the completion notice, the
// settings file of each edition, and each edition's application type.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "runtime/Connect.h"
#include "tests/app/RunFixture.h"
#include "tests/editions/EditionRun.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/ExpectHoldsTogether.h"

namespace fs = std::filesystem;
using velmora::test::Executable;
using velmora::test::Execute;
using velmora::test::ExecuteScript;
using velmora::test::Outcome;
using velmora::test::ReadBytes;
using velmora::test::RunFixture;
using velmora::test::ScriptedRun;
using velmora::test::TestHost;

namespace {

std::string ControlText(const nlohmann::json& dialog, int id) {
  for (const nlohmann::json& control : dialog["controls"]) {
    if (control.value("id", 0) == id) return control.value("text", "");
  }
  return "<none>";
}

}  // namespace

TEST(Editions, VersionNamesTheEditionAndItsHostProduct) {
  EXPECT_EQ("Velmora1 21.00.03\nZentor 連動 from Orbeck２１\n",
            Execute(Executable("Velmora1").string() + " --version").output);
  EXPECT_EQ("Velmora2 21.00.03\nZentor 連動 from Orbeck２１ Lintra\n",
            Execute(Executable("Velmora2").string() + " --version").output);
  EXPECT_EQ("Velmora3 21.00.03\nZentor 連動 from Orbeck２１ ハルモア\n",
            Execute(Executable("Velmora3").string() + " --version").output);
  const Outcome help = Execute(Executable("Velmora2").string() + " --help");
  EXPECT_EQ(0, help.exitCode);
  EXPECT_NE(std::string::npos, help.output.find("Usage: Velmora2")) << help.output;
}

TEST(Editions, ExitCodeIsTheRunStatusAndTheNoticeCarriesIt) {
  TestHost host;
  fs::create_directories(host.cDrive() / "out");
  const ScriptedRun done(host, "Velmora1", ExecuteScript(), "1048577,32769,5,");
  EXPECT_EQ(0, done.exitCode);
  EXPECT_TRUE(fs::exists(host.cDrive() / "out" / "a.xml"));
  inspect::test::ExpectHoldsTogether(host.cDrive() / "out" / "a.xml");
  std::vector<std::string> calls;
  for (const nlohmann::json& e : done.Of("host")) calls.push_back(e.value("call", ""));
  EXPECT_EQ((std::vector<std::string>{"enable", "parent", "foreground", "enable", "post", "enable"}), calls);
  ASSERT_EQ(1u, done.Of("exit").size());
  EXPECT_EQ(0, done.Of("exit")[0].value("status", -1));

  const ScriptedRun cancelled(host, "Velmora3", "click 1003\n", "1048577,32769,5,");
  EXPECT_EQ(1, cancelled.exitCode);
  const std::vector<nlohmann::json> posts = [&] {
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& e : cancelled.Of("host")) {
      if (e.value("call", "") == "post") found.push_back(e);
    }
    return found;
  }();
  ASSERT_EQ(1u, posts.size());
  EXPECT_EQ(5, posts[0].value("wParam", 0));
  EXPECT_EQ(1, posts[0].value("lParam", 0));
}

TEST(Editions, SecondEditionLeavesTheFirstEditionsSettingsAlone) {
  TestHost host;
  fs::create_directories(host.cDrive() / "out");
  const ScriptedRun first(host, "Velmora1",
                          "set 1016 6\nset 1000 8\nset 1015 C:\\out\\one.xml\nclick 1002\n");
  ASSERT_EQ(0, first.exitCode);
  const fs::path settings = host.home() / "settings";
  const std::string firstSettings = ReadBytes(settings / "Velmora1.env");
  ASSERT_FALSE(firstSettings.empty());

  // The first edition remembers its months; the second shows its own defaults.
  const ScriptedRun reread(host, "Velmora1", "close\n");
  ASSERT_FALSE(reread.Of("dialog").empty());
  EXPECT_EQ("6", ControlText(reread.Of("dialog")[0], 1016));

  const ScriptedRun second(host, "Velmora2",
                           "set 1016 5\nset 1000 7\nset 1015 C:\\out\\two.xml\nclick 1002\n");
  ASSERT_EQ(0, second.exitCode);
  EXPECT_TRUE(fs::exists(settings / "Velmora2.env"));
  EXPECT_EQ(firstSettings, ReadBytes(settings / "Velmora1.env"));
  // Periods that start after the first month hold together as well.
  inspect::test::ExpectHoldsTogether(host.cDrive() / "out" / "one.xml");
  inspect::test::ExpectHoldsTogether(host.cDrive() / "out" / "two.xml");
  const ScriptedRun secondReread(host, "Velmora2", "close\n");
  ASSERT_FALSE(secondReread.Of("dialog").empty());
  EXPECT_EQ("5", ControlText(secondReread.Of("dialog")[0], 1016));
}

// Notes the connection's edition settings while the conditions dialog is up (the
// connection forgets them when it is released at the end of the run).
class AttachProbe : public platform::script::ScriptBackend {
 public:
  AttachProbe() : ScriptBackend("close\n") {}
  void DialogInitialised(platform::CDialog& dialog) override {
    appType = ClAccConnect::Inst().AppType();
    useDataType = ClAccConnect::Inst().UseDataType();
    caption = ClAccConnect::Inst().caption;
    ScriptBackend::DialogInitialised(dialog);
  }
  long appType = -1;
  long useDataType = -1;
  std::string caption;
};

class EditionAttach : public ::testing::TestWithParam<std::pair<const EditionProfile*, long>> {};

TEST_P(EditionAttach, AttachesWithItsApplicationType) {
  RunFixture run;
  auto probe = std::make_unique<AttachProbe>();
  AttachProbe* seen = probe.get();
  platform::SetUi(std::move(probe));
  LinkApp app(*GetParam().first);
  app.m_programPath = "C:\\prog\\Velmora.exe";
  EXPECT_EQ(1, app.Run());
  EXPECT_EQ(GetParam().second, seen->appType);
  EXPECT_EQ(1, seen->useDataType);
  // The runtime's own messages carry the program's caption: 決算書 in code page 932 (iconv).
  EXPECT_EQ("\x8C\x88\x8E\x5A\x8F\x91", seen->caption);
  platform::SetUi(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Editions, EditionAttach,
                         ::testing::Values(std::make_pair(&kVelmora1, 0L), std::make_pair(&kVelmora2, 3L),
                                           std::make_pair(&kVelmora3, 4L)),
                         [](const auto& param) { return std::string(param.param.first->executableName); });

// Whole runs of LinkApp against a simulated host: command line and parent mode, the
// completion notice and the order of the host window calls, cancel, failures and notes.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>

#include "orbeck/RuntimeCallLog.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "runtime/Connect.h"
#include "tests/app/RunFixture.h"
#include "tests/support/TestFiles.h"

using velmora::test::ExecuteScript;
using velmora::test::RunFixture;
using velmora::test::TestHost;
using Calls = std::vector<std::string>;

namespace {

const char* kDone = "決算書情報の出力が終了しました。\n\nアプリケーションを終了します。";
const char* kFailed = "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。";

// Position of the first transcript event matching kind and, when given, template.
std::size_t IndexOf(const RunFixture& run, const std::string& kind, int templateId = 0) {
  for (std::size_t i = 0; i < run.transcript.size(); ++i) {
    const nlohmann::json& e = run.transcript[i];
    if (e.value("event", "") == kind && (templateId == 0 || e.value("template", 0) == templateId)) return i;
  }
  return run.transcript.size();
}

bool HasWindowEvent(const RunFixture& run, int templateId) {
  for (const nlohmann::json& e : run.Events("window")) {
    if (e.value("template", 0) == templateId) return true;
  }
  return false;
}

}  // namespace

TEST(LinkAppRun, WithoutCommandLineWritesTheFileAndNotifiesNobody) {
  RunFixture run;
  EXPECT_EQ(0, run.Run("", ExecuteScript()));
  EXPECT_EQ(0, run.runStatus);
  EXPECT_TRUE(std::filesystem::exists(run.COut() / "a.xml"));
  EXPECT_EQ(Calls{}, run.HostCalls());
  ASSERT_EQ(1u, run.Events("messageBox").size());
  const nlohmann::json box = run.Events("messageBox")[0];
  EXPECT_EQ(kDone, box.value("text", ""));
  EXPECT_EQ("決算書", box.value("caption", ""));
  EXPECT_EQ("information", box.value("icon", ""));
  EXPECT_EQ(131, box.value("owner", 0));
  EXPECT_TRUE(std::filesystem::exists(run.SettingsFile()));
}

TEST(LinkAppRun, ParentModeDisablesTheHostAndPostsTheNoticeInOrder) {
  RunFixture run;
  EXPECT_EQ(0, run.Run("1048577,32769,5,", ExecuteScript()));
  EXPECT_EQ((Calls{"enable 0", "parent", "foreground", "enable 1", "post 32769 5 0", "enable 1"}),
            run.HostCalls());
  for (const nlohmann::json& e : run.Events("host")) EXPECT_EQ(1048577, e.value("hwnd", 0L));
  EXPECT_TRUE(std::filesystem::exists(run.COut() / "a.xml"));
}

TEST(LinkAppRun, FunctionCodeIsSignExtendedOnTheNotice) {
  RunFixture run;
  run.Run("1048577,40000,-2,", ExecuteScript());
  const Calls calls = run.HostCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ("post 40000 -2 0", calls[calls.size() - 2]);
}

TEST(LinkAppRun, HostPathWithCommasReachesTheDialogWhole) {
  RunFixture run;
  // The dialog refuses the commas and the run ends cancelled; what matters here is the path it got.
  run.Run("1048577,32769,7,C:\\out\\a,b\\host.xml", "close\n");
  std::string shownPath;
  for (const nlohmann::json& dialog : run.Events("dialog")) {
    for (const nlohmann::json& control : dialog["controls"]) {
      if (control.value("id", 0) == 1015) shownPath = control.value("text", "");
    }
  }
  EXPECT_EQ("C:\\out\\a,b\\host.xml", shownPath);
  EXPECT_EQ("post 32769 7 1", run.HostCalls().at(run.HostCalls().size() - 2));
}

TEST(LinkAppRun, FewerThanThreeCommasIsNotParentMode) {
  RunFixture run;
  EXPECT_EQ(0, run.Run("1048577,32769", ExecuteScript()));
  EXPECT_EQ(Calls{}, run.HostCalls());
  EXPECT_TRUE(std::filesystem::exists(run.COut() / "a.xml"));
}

TEST(LinkAppRun, CancelEndsWithStatusOneAndWritesNothing) {
  RunFixture run;
  EXPECT_EQ(1, run.Run("1048577,32769,3,", "click 1003\n"));
  EXPECT_EQ(1, run.runStatus);
  EXPECT_FALSE(HasWindowEvent(run, 131));
  EXPECT_FALSE(std::filesystem::exists(run.SettingsFile()));
  EXPECT_TRUE(std::filesystem::is_empty(run.COut()));
  EXPECT_EQ((Calls{"enable 0", "foreground", "enable 1", "post 32769 3 1", "enable 1"}), run.HostCalls());
}

TEST(LinkAppRun, FailedAttachEndsSilentlyButStillDetaches) {
  RunFixture run;
  platform::faults::Set("Initiate");
  orbeck::ClearCallLog();
  EXPECT_EQ(2, run.Run("1048577,32769,3,", ExecuteScript()));
  platform::faults::Clear();
  EXPECT_EQ(0, run.runStatus);
  EXPECT_EQ(Calls{}, run.HostCalls());
  EXPECT_TRUE(run.Events("messageBox").empty());
  EXPECT_TRUE(run.Events("dialog").empty());
  EXPECT_EQ((std::vector<std::string>{"Initiate", "LogOut", "Terminate", "Release"}), orbeck::CallLog());
}

TEST(LinkAppRun, ProgramLevelAboveThreeFailsWithTheComponentMessage) {
  RunFixture run;
  run.WriteProgramLevel("RX52=4");
  EXPECT_EQ(2, run.Run("1048577,32769,3,", ExecuteScript()));
  ASSERT_EQ(1u, run.Events("messageBox").size());
  const nlohmann::json box = run.Events("messageBox")[0];
  EXPECT_EQ(
      "ご利用の連動コンポーネントは、インストールされているOrbeck２１では使用できません。\n"
      "連動コンポーネントの最新版を入手してインストールしてからご利用ください。",
      box.value("text", ""));
  EXPECT_EQ("exclamation", box.value("icon", ""));
  EXPECT_EQ(nlohmann::json({{"host", 1048577}}), box["owner"]);
  EXPECT_TRUE(run.Events("dialog").empty());
  EXPECT_EQ("post 32769 3 2", run.HostCalls().at(run.HostCalls().size() - 2));
}

TEST(LinkAppRun, DeclinedLinkIsCancelled) {
  nlohmann::json company = TestHost::MinimalCompany();
  company["expSysLink"] = 1;
  RunFixture declined(company);
  EXPECT_EQ(1, declined.Run("", ExecuteScript()));
  EXPECT_TRUE(declined.Events("messageBox").empty());
  EXPECT_TRUE(declined.Events("dialog").empty());
}

TEST(LinkAppRun, LinkErrorFails) {
  nlohmann::json company = TestHost::MinimalCompany();
  company["expSysLink"] = 7;
  RunFixture run(company);
  EXPECT_EQ(2, run.Run("", ExecuteScript()));
  EXPECT_TRUE(run.Events("dialog").empty());
}

TEST(LinkAppRun, WriterFailureShowsTheMessageBeforeClosingAndSavesNothing) {
  RunFixture run;
  platform::faults::Set("FileWrite");
  EXPECT_EQ(2, run.Run("", ExecuteScript()));
  platform::faults::Clear();
  EXPECT_EQ(std::vector<std::string>{kFailed}, run.BoxTexts());
  EXPECT_EQ(131, run.Events("messageBox")[0].value("owner", 0));
  EXPECT_FALSE(std::filesystem::exists(run.SettingsFile()));
  EXPECT_FALSE(std::filesystem::exists(run.COut() / "a.xml"));
  // The failure is shown while the progress window still stands.
  std::size_t box = 0, end = 0;
  for (std::size_t i = 0; i < run.transcript.size(); ++i) {
    const nlohmann::json& e = run.transcript[i];
    if (e.value("event", "") == "messageBox") box = i;
    if (e.value("event", "") == "dialogEnd" && e.value("template", 0) == 131) end = i;
  }
  EXPECT_LT(box, end);
}

TEST(LinkAppRun, FailedAggregationFailsTheRunWithoutWriting) {
  RunFixture run;
  platform::faults::Set("ClRuleKamoku::GetSumCount");
  EXPECT_EQ(2, run.Run("", ExecuteScript()));
  platform::faults::Clear();
  EXPECT_EQ(std::vector<std::string>{"XMLファイルの出力に失敗しました。\n残高を読み込めませんでした。\n\nアプ"
                                     "リケーションを終了します。"},
            run.BoxTexts());
  EXPECT_FALSE(std::filesystem::exists(run.COut() / "a.xml"));
  EXPECT_FALSE(std::filesystem::exists(run.SettingsFile()));
}

TEST(LinkAppRun, UnknownSelectedDataIsRefusedAsCancelled) {
  nlohmann::json company = TestHost::MinimalCompany();
  company["users"][0]["selectedNo"] = 9;
  RunFixture run(company);
  EXPECT_EQ(1, run.Run("", ExecuteScript()));
  EXPECT_FALSE(HasWindowEvent(run, 131));
}

TEST(LinkAppRun, UnsupportedNotesAreWarnedInTableOrder) {
  nlohmann::json company = TestHost::MinimalCompany();
  std::string sections;
  for (int k = 0; k < 40; ++k) {
    const bool shown = k == 17 || k == 32;
    sections += "[Note_" + std::to_string(k) + "]\r\nDisp=" + (shown ? "1" : "0") + "\r\n";
  }
  company["data"][0]["savedDocuments"] = {{"0", "Note=1\r\n"},
                                          {"100", "InputMode=1\r\n" + sections},
                                          {"1000", "<ID>1</ID>\r\n<Disp>1</Disp>\r\n"}};
  RunFixture run(company);
  EXPECT_EQ(0, run.Run("", ExecuteScript()));
  EXPECT_EQ((std::vector<std::string>{
                "以下の注記は連動に対応していません。\nこれらの注記はZentor上で手入力してください。\n\n"
                "・会計上の見積もりに関する注記\n・賃貸等不動産に関する注記\n"
                "\nこれらの注記を除いて処理を続行します。",
                kDone}),
            run.BoxTexts());
  const nlohmann::json warning = run.Events("messageBox").at(0);
  EXPECT_EQ(131, warning.value("owner", 0));
  EXPECT_EQ("exclamation", warning.value("icon", ""));
  EXPECT_EQ("決算書", warning.value("caption", ""));
}

TEST(LinkAppRun, NotesSwitchedOffGiveNoWarning) {
  nlohmann::json company = TestHost::MinimalCompany();
  company["data"][0]["savedDocuments"] = {{"0", "Note=1\r\n"},
                                          {"100", "InputMode=0\r\n[Note_0]\r\nDisp=1\r\n"}};
  RunFixture run(company);
  EXPECT_EQ(0, run.Run("", ExecuteScript()));
  EXPECT_EQ(std::vector<std::string>{kDone}, run.BoxTexts());
}

TEST(LinkAppRun, ReleaseEndsTheWaitCursorBeforeTheProgressWindowGoes) {
  RunFixture run;
  ASSERT_EQ(0, run.Run("", ExecuteScript()));
  std::size_t destroyed = run.transcript.size();
  std::size_t cursorOff = run.transcript.size();
  for (std::size_t i = 0; i < run.transcript.size(); ++i) {
    const nlohmann::json& e = run.transcript[i];
    if (e.value("event", "") == "waitCursor" && e.value("depth", -1) == 0) cursorOff = i;
    if (e.value("event", "") == "window" && e.value("call", "") == "destroy" &&
        e.value("template", 0) == 131) {
      destroyed = i;
    }
  }
  // On success the progress window is closed before the final box, the box comes before
  // the release, and the release ends the cursor before the window is destroyed.
  EXPECT_LT(IndexOf(run, "dialogEnd", 131), IndexOf(run, "messageBox"));
  EXPECT_LT(IndexOf(run, "messageBox"), cursorOff);
  EXPECT_LT(cursorOff, destroyed);
  EXPECT_LT(destroyed, run.transcript.size());
}

// Notes, at each call on the host window, the runtime calls made so far.
class DetachProbe : public platform::script::ScriptBackend {
 public:
  explicit DetachProbe(const std::string& script) : ScriptBackend(script) {}
  void HostCall(const platform::HostWindowCall& call) override {
    logAtCall.push_back(orbeck::CallLog());
    ScriptBackend::HostCall(call);
  }
  std::vector<std::vector<std::string>> logAtCall;
};

TEST(LinkAppRun, ExitDetachesFromTheHostBeforeTheHostWindowCalls) {
  RunFixture run;
  orbeck::ClearCallLog();
  auto probe = std::make_unique<DetachProbe>("click 1003\n");
  DetachProbe* seen = probe.get();
  platform::SetUi(std::move(probe));
  LinkApp app(kVelmora1);
  app.m_lpCmdLine = "1048577,32769,3,";
  app.m_programPath = "C:\\prog\\Velmora1.exe";
  EXPECT_EQ(1, app.Run());
  const std::vector<std::string> detached{"LogOut", "Terminate", "Release"};
  // enable 0 at the start, then foreground, enable 1, post, enable 1 at the end.
  ASSERT_EQ(5u, seen->logAtCall.size());
  EXPECT_EQ((std::vector<std::string>{"Initiate"}), seen->logAtCall[0]);
  for (std::size_t i = 1; i < seen->logAtCall.size(); ++i) {
    const std::vector<std::string>& log = seen->logAtCall[i];
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(detached, std::vector<std::string>(log.end() - 3, log.end())) << "host call " << i;
  }
  platform::SetUi(nullptr);
}

TEST(LinkAppRun, HostPathBeyondTheWindowsLimitFailsRatherThanWritingACutName) {
  // "C:\out\" + 200 + "\" + name + ".xml": cut at 260 bytes a longer path would name the
  // file "nnn...n" without ".xml". 260 bytes is the longest path a Windows path holds.
  const std::string folder(200, 'd');
  for (const std::size_t length : {std::size_t{260}, std::size_t{261}, std::size_t{272}}) {
    SCOPED_TRACE(length);
    RunFixture run;
    std::filesystem::create_directories(run.COut() / folder);
    const std::string name(length - 7 - 200 - 1 - 4, 'n');
    const int exitCode = run.Run("1048577,32769,3,C:\\out\\" + folder + "\\" + name + ".xml", "click 1002\n");
    if (length == 260) {
      EXPECT_EQ(0, exitCode);
      EXPECT_TRUE(std::filesystem::exists(run.COut() / folder / (name + ".xml")));
      continue;
    }
    EXPECT_EQ(2, exitCode);
    EXPECT_EQ(std::vector<std::string>{kFailed}, run.BoxTexts());
    EXPECT_TRUE(std::filesystem::is_empty(run.COut() / folder));
    EXPECT_EQ("post 32769 3 2", run.HostCalls().at(run.HostCalls().size() - 2));
  }
}

TEST(LinkAppRun, ProgramFolderOnePastThePathLimitFailsTheRun) {
  // The folder the host installed the program in, "C:\\" + 200 + "\\" + rest: at 260 bytes it
  // is read; at 261, one past what a Windows path holds, it reads as no folder, so the
  // definition file beside the program is not found.
  const std::string first(200, 'p');
  for (const std::size_t length : {std::size_t{261}, std::size_t{260}}) {
    SCOPED_TRACE(length);
    RunFixture run;
    const std::string second(length - 3 - 200 - 1, 'q');
    const std::string windowsFolder = "C:\\" + first + "\\" + second;
    const std::filesystem::path folder = run.host.cDrive() / first / second;
    std::filesystem::create_directories(folder);
    for (const char* file : {"ZentorDef.ini", "SUPPORT.INF"}) {
      std::filesystem::copy_file(run.programFolder / file, folder / file);
    }
    // Windows without long paths takes no working folder this long (its native form is
    // longer still); the run would then look in another folder and prove nothing.
    if (!platform::win::_chdir(windowsFolder))
      GTEST_SKIP() << "the system refuses a working folder this long";
    run.programPath = windowsFolder + "\\Velmora1.exe";
    const int exitCode = run.Run("", ExecuteScript());
    EXPECT_EQ(windowsFolder, platform::win::_getcwd());
    if (length == 260) {
      EXPECT_EQ(0, exitCode);
      EXPECT_EQ(std::vector<std::string>{kDone}, run.BoxTexts());
      continue;
    }
    EXPECT_EQ(2, exitCode);
    EXPECT_EQ(2, run.runStatus);
    ASSERT_EQ(1u, run.BoxTexts().size());
    EXPECT_EQ(0u, run.BoxTexts()[0].find("動作環境が不正です。")) << run.BoxTexts()[0];
    EXPECT_TRUE(std::filesystem::is_empty(run.COut()));
  }
}

TEST(LinkAppRun, ParentModeRemembersTheConditionsButNotTheHostPath) {
  RunFixture run;
  ASSERT_EQ(0, run.Run("", ExecuteScript("own.xml")));
  const auto settings = [&run] { return velmora::test::ReadBytes(run.SettingsFile()); };
  EXPECT_NE(std::string::npos, settings().find("C:\\out\\own.xml")) << settings();

  ASSERT_EQ(0, run.Run("1048577,32769,3,C:\\out\\host.xml", "set 1016 6\nclick 1002\n"));
  EXPECT_TRUE(std::filesystem::exists(run.COut() / "host.xml"));
  EXPECT_EQ("post 32769 3 0", run.HostCalls().at(run.HostCalls().size() - 2));
  // The months of the parent-mode run are kept; the path stays the user's own.
  const std::string after = settings();
  EXPECT_NE(std::string::npos, after.find("C:\\out\\own.xml")) << after;
  EXPECT_EQ(std::string::npos, after.find("host.xml")) << after;
  ASSERT_EQ(1, run.Run("", "close\n"));
  ASSERT_EQ(1u, run.Events("dialog").size());
  const nlohmann::json dialog = run.Events("dialog")[0];
  std::string firstMonth;
  for (const nlohmann::json& control : dialog["controls"]) {
    if (control.value("id", 0) == 1016) firstMonth = control.value("text", "");
  }
  EXPECT_EQ("6", firstMonth);
}

// Notes the runtime connection's owner window while the conditions dialog is up.
class OwnerProbe : public platform::script::ScriptBackend {
 public:
  OwnerProbe() : ScriptBackend("close\n") {}
  void DialogInitialised(platform::CDialog& dialog) override {
    owner = ClAccConnect::Inst().ownerWindow;
    ScriptBackend::DialogInitialised(dialog);
  }
  platform::HWND owner = -1;
};

TEST(LinkAppRun, RuntimeMessagesAreOwnedByTheHostWindowOnlyInParentMode) {
  RunFixture run;
  for (const auto& [commandLine, expected] : std::vector<std::pair<std::string, platform::HWND>>{
           {"1048577,32769,3,", 1048577}, {"1048577,32769,3", 0}}) {
    auto probe = std::make_unique<OwnerProbe>();
    OwnerProbe* seen = probe.get();
    platform::SetUi(std::move(probe));
    LinkApp app(kVelmora1);
    app.m_lpCmdLine = commandLine;
    app.m_programPath = "C:\\prog\\Velmora1.exe";
    EXPECT_EQ(1, app.Run());
    EXPECT_EQ(expected, seen->owner) << commandLine;
  }
  platform::SetUi(nullptr);
}

TEST(LinkAppRun, ProgramFolderEndsAtTheLastRealBackslash) {
  RunFixture run;
  // The file name ends in 表, 95 5C in code page 932 (iconv): its second byte is no separator,
  // so the working folder is C:\prog\, where the definition file lies.
  run.programPath = "C:\\prog\\Velmora\x95\x5C";
  EXPECT_EQ(0, run.Run("", ExecuteScript()));
  EXPECT_EQ(std::vector<std::string>{kDone}, run.BoxTexts());
}

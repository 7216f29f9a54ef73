// Start-up: the command line handed to the application, the choice of backend, the errors
// that stop the program before it runs, and the exit report.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestDialogs.h"
#include "platform/script/ScriptRegistration.h"
#include "platform/ui/Startup.h"
#include "platform/ui/Window.h"
#ifndef _WIN32
#include "tests/support/FifoGuard.h"
#endif

using namespace platform;

namespace {

class ProbeApp : public CWinApp {
 public:
  bool InitInstance() override {
    answer = MessageBoxA(0, "q", "c", MB_YESNO | MB_ICONQUESTION);
    exitCode_ = 4;
    return false;
  }
  int answer = 0;
};

// A GUI backend that leaves its exit reports, and the news of its own end, with the test.
class GuiProbe : public uitest::ReportingBackend {
 public:
  GuiProbe(std::vector<int>& statuses, bool& ended) : statuses_(statuses), ended_(ended) {}
  ~GuiProbe() override {
    statuses_ = exitStatuses;
    ended_ = true;
  }

 private:
  std::vector<int>& statuses_;
  bool& ended_;
};

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("velmora_start_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    unsetenv("VELMORA_UI_SCRIPT");
    unsetenv("VELMORA_UI_TRANSCRIPT");
    SetGuiBackendFactory(nullptr);
    script::RegisterScriptBackend();
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    unsetenv("VELMORA_UI_SCRIPT");
    unsetenv("VELMORA_UI_TRANSCRIPT");
    SetUi(nullptr);
  }
  std::string Write(const char* name, const std::string& text) {
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  int Start(ProbeApp& app, std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), "Velmora1");
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return RunApplication(app, static_cast<int>(arguments.size()), argv.data());
  }
  std::filesystem::path folder;
};

TEST_F(Startup, ScriptedRunGetsTheCommandLineInCodePage932AndReportsItsExit) {
  setenv("VELMORA_UI_SCRIPT", Write("run.script", "answer yes\n").c_str(), 1);
  const std::string transcript = (folder / "run.jsonl").string();
  setenv("VELMORA_UI_TRANSCRIPT", transcript.c_str(), 1);
  ProbeApp app;
  EXPECT_EQ(4, Start(app, {"1048576,32769,3,C:\\出力", "x"}));
  EXPECT_EQ(IDYES, app.answer);
  // iconv's Shift_JIS form of 出力 is 8F 6F 97 CD.
  EXPECT_EQ("1048576,32769,3,C:\\\x8F\x6F\x97\xCD x", app.m_lpCmdLine);
  std::ifstream file(transcript);
  std::string line, last;
  while (std::getline(file, line)) last = line;
  EXPECT_EQ(R"({"event":"exit","status":4})", last);
}

TEST_F(Startup, MissingOrBadScriptStopsWithExitCodeTwo) {
  ProbeApp app;
  setenv("VELMORA_UI_SCRIPT", (folder / "absent.script").string().c_str(), 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(2, Start(app));
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("absent.script"));

  setenv("VELMORA_UI_SCRIPT", Write("bad.script", "answer ok\nwave 3\n").c_str(), 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(2, Start(app));
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("line 2"));
  EXPECT_EQ(0, app.answer);  // the application never ran
}

#ifndef _WIN32
// A script that is no regular file is never read: a FIFO would wait for its writer for ever,
// a device need never end.
TEST_F(Startup, AScriptThatIsNoRegularFileStopsWithExitCodeTwo) {
  const std::string fifo = (folder / "fifo.script").string();
  ASSERT_TRUE(velmora::test::MakeFifo(fifo));
  for (const std::string& script : {fifo, std::string("/dev/null")}) {
    setenv("VELMORA_UI_SCRIPT", script.c_str(), 1);
    ProbeApp app;
    int status = -1;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(velmora::test::ReturnsWithoutWaitingOn(
        fifo, [&] { return Start(app); }, status))
        << script;
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(2, status);
    EXPECT_NE(std::string::npos,
              errors.find(script + " cannot be read (VELMORA_UI_SCRIPT): not a regular file"))
        << errors;
    EXPECT_EQ(0, app.answer);  // the application never ran
  }
}
#endif

TEST_F(Startup, WithoutScriptTheGuiFactoryDecides) {
  ProbeApp app;
  testing::internal::CaptureStderr();
  EXPECT_EQ(2, Start(app));
  EXPECT_EQ("Velmora1: no display and no automation script (set VELMORA_UI_SCRIPT)\n",
            testing::internal::GetCapturedStderr());

  SetGuiBackendFactory([](int&, char**) { return std::unique_ptr<UiBackend>(); });
  testing::internal::CaptureStderr();
  EXPECT_EQ(2, Start(app));
  testing::internal::GetCapturedStderr();

  std::vector<int> statuses;
  bool ended = false;
  SetGuiBackendFactory(
      [&](int&, char**) { return std::unique_ptr<UiBackend>(new GuiProbe(statuses, ended)); });
  EXPECT_EQ(4, Start(app));
  EXPECT_EQ(IDNO, app.answer);
  EXPECT_EQ(std::vector<int>{4}, statuses);
  // The backend is gone before the start-up returns, not among the exit handlers, where a
  // GUI toolkit outlived by its own statics crashes the process.
  EXPECT_TRUE(ended);
}

}  // namespace

// The program's windows put under a real host window under Wine: the host call acts on the
// window the backend made for the program's handle, and a call the system refuses comes
// back as a failed result, with the window left where it was; and a whole parent-mode run
// against a host window of this thread.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/LinkApp.h"
#include "dialog/ConditionsTemplate.h"
#include "platform/Faults.h"
#include "platform/script/ScriptBackend.h"
#include "platform/ui/UiBackend.h"
#include "platform/ui/Window.h"
#include "platform/win32ui/Win32UiBackend.h"
#include "runstate/ProgressWindow.h"
#include "runtime/Connect.h"
#include "tests/support/TestHost.h"

#include <windows.h>

namespace {

using platform::win32ui::NativeDialog;
using platform::win32ui::Win32UiBackend;

// A top-level window of another class, standing for the host application's.
HWND MakeHostWindow() {
  return ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

platform::HWND Handle(HWND window) { return reinterpret_cast<platform::HWND>(window); }

class Win32HostWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = MakeHostWindow();
    ASSERT_NE(nullptr, host_);
  }
  void TearDown() override {
    platform::SetUi(nullptr);
    ::DestroyWindow(host_);
  }
  HWND host_ = nullptr;
};

TEST_F(Win32HostWindows, TheProgressWindowGoesUnderTheHostWindowBeforeItIsShown) {
  auto owned = std::make_unique<Win32UiBackend>();
  Win32UiBackend& backend = *owned;
  platform::SetUi(std::move(owned));
  ProgressWindow progress;
  progress.Create();
  const platform::HWND self = progress.GetSafeHwnd();

  EXPECT_EQ(platform::GetDesktopWindow(), platform::SetParent(self, Handle(host_)));
  EXPECT_EQ(Handle(host_), progress.ParentWindow());
  NativeDialog* window = backend.WindowOf(progress);
  ASSERT_TRUE(window && window->Handle());
  const HWND real = window->Handle();
  EXPECT_EQ(host_, ::GetAncestor(real, GA_PARENT));
  EXPECT_FALSE(::IsWindowVisible(real));

  // Shown, it is the same window, still under the host.
  progress.ShowWindow(SW_SHOW);  // windows.h names the same value
  EXPECT_EQ(real, backend.WindowOf(progress)->Handle());
  EXPECT_EQ(host_, ::GetAncestor(real, GA_PARENT));
  EXPECT_TRUE(::IsWindowVisible(real));

  // A host window that has gone: the call fails and the window stays under the first host.
  const HWND gone = MakeHostWindow();
  ASSERT_NE(nullptr, gone);
  ::DestroyWindow(gone);
  EXPECT_EQ(0, platform::SetParent(self, Handle(gone)));
  EXPECT_EQ(Handle(host_), progress.ParentWindow());
  EXPECT_EQ(host_, ::GetAncestor(real, GA_PARENT));

  // Top-level again.
  EXPECT_EQ(Handle(host_), platform::SetParent(self, 0));
  EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(real, GA_PARENT));
}

TEST_F(Win32HostWindows, WithoutWindowsOfTheSystemTheReparentingFailsAndIsRecordedSo) {
  // The automation backend shows nothing: the program's handle names no window to move.
  auto owned = std::make_unique<platform::script::ScriptBackend>("");
  platform::script::ScriptBackend& backend = *owned;
  platform::SetUi(std::move(owned));
  ProgressWindow progress;
  progress.Create();
  EXPECT_EQ(0, platform::SetParent(progress.GetSafeHwnd(), Handle(host_)));
  EXPECT_EQ(0, progress.ParentWindow());
  ASSERT_FALSE(backend.Transcript().empty());
  const nlohmann::json& call = backend.Transcript().back();
  EXPECT_EQ("host", call.at("event"));
  EXPECT_EQ("parent", call.at("call"));
  EXPECT_EQ(Handle(host_), call.at("hwnd").get<platform::HWND>());
  EXPECT_FALSE(call.at("delivered").get<bool>());
  // Enabling the host window, the other calls on it, do reach it.
  platform::EnableWindow(Handle(host_), false);
  EXPECT_FALSE(::IsWindowEnabled(host_));
  EXPECT_TRUE(backend.Transcript().back().at("delivered").get<bool>());
}

// The host application's window for a whole run: it records the messages posted to it.
struct PostedToHost {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<PostedToHost> posted;

LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_APP) posted.push_back({message, wParam, lParam});
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The user of a parent-mode run: F12 in the conditions dialog, OK to the final box, and a
// look at where the progress window stands while that box is up.
class ParentModeUser {
 public:
  explicit ParentModeUser(Win32UiBackend& backend) : backend_(backend) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &ParentModeUser::Tick);
  }
  ~ParentModeUser() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ParentModeUser(const ParentModeUser&) = delete;
  ParentModeUser& operator=(const ParentModeUser&) = delete;

  HWND host = nullptr;
  HWND progressParent = nullptr;
  bool hostEnabledDuringTheRun = true;
  int boxes = 0;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->Act();
  }

  void Act() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) {
          reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    for (const HWND hwnd : windows) {
      wchar_t className[32] = {};
      ::GetClassNameW(hwnd, className, 32);
      if (!::IsWindowVisible(hwnd) || std::wstring(className) != L"#32770") continue;
      NativeDialog* window = backend_.WindowOwning(hwnd);
      if (!window) {
        // The final box: the progress window it stands over is still under the host.
        std::vector<HWND> children;
        ::EnumChildWindows(
            host,
            [](HWND child, LPARAM found) {
              reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        for (const HWND child : children) {
          NativeDialog* progress = backend_.WindowOwning(child);
          if (progress && progress->Handle() == child && progress->Dialog() &&
              progress->Dialog()->Template().id == kProgressTemplateId)
            progressParent = ::GetAncestor(child, GA_PARENT);
        }
        ++boxes;
        ::PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, IDOK)));
        return;
      }
      if (window->Dialog() && window->Dialog()->Template().id == kConditionsTemplateId) {
        if (pressed_) {
          // A dialog still open long after F12 would wait for a user forever.
          if (++ticksAfterF12_ == kPatience) {
            ADD_FAILURE() << "the conditions dialog stayed open after F12";
            ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
          }
          return;
        }
        // Until the dialog is active and one of its controls has the focus, a key posted
        // to the focus would go to no window and be lost.
        const HWND focus = ::GetFocus();
        if (!focus || !::IsChild(hwnd, focus)) return;
        hostEnabledDuringTheRun = ::IsWindowEnabled(host) != FALSE;
        ::PostMessageW(focus, WM_KEYDOWN, VK_F12, 1);
        pressed_ = true;
        return;
      }
    }
  }

  static constexpr int kPatience = 250;  // ticks of 20 ms

  static ParentModeUser* current_;
  Win32UiBackend& backend_;
  UINT_PTR timer_ = 0;
  bool pressed_ = false;
  int ticksAfterF12_ = 0;
};

ParentModeUser* ParentModeUser::current_ = nullptr;

TEST(Win32ParentModeRun, TheHostWindowIsDisabledTakesTheProgressWindowAndGetsTheNotice) {
  velmora::test::TestHost testHost;
  ASSERT_TRUE(testHost.loaded());
  platform::faults::Clear();
  ASSERT_EQ(0, ClAccConnect::Inst().Initiate());
  const std::filesystem::path programFolder = testHost.cDrive() / "prog";
  std::filesystem::create_directories(programFolder);
  std::filesystem::create_directories(testHost.cDrive() / "out");
  for (const char* name : {"ZentorDef.ini", "SUPPORT.INF"}) {
    std::filesystem::copy_file(std::filesystem::path(VELMORA_TEST_SOURCE_DIR) / "data" / name,
                               programFolder / name, std::filesystem::copy_options::overwrite_existing);
  }
  WNDCLASSW hostClass{};
  hostClass.lpfnWndProc = HostProcedure;
  hostClass.hInstance = ::GetModuleHandleW(nullptr);
  hostClass.lpszClassName = L"VelmoraTestHost";
  ::RegisterClassW(&hostClass);
  const HWND host = ::CreateWindowExW(0, L"VelmoraTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      600, 400, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, host);
  posted.clear();

  auto owned = std::make_unique<Win32UiBackend>();
  Win32UiBackend& backend = *owned;
  platform::SetUi(std::move(owned));
  int status = -1;
  HWND progressParent = nullptr;
  bool hostEnabledDuringTheRun = true;
  int boxes = 0;
  {
    ParentModeUser user(backend);
    user.host = host;
    LinkApp app(kVelmora1);
    app.m_programPath = "C:\\prog\\Velmora1.exe";
    app.m_lpCmdLine = std::to_string(reinterpret_cast<std::intptr_t>(host)) + ",32769,7,C:\\out\\host.xml";
    status = app.Run();
    progressParent = user.progressParent;
    hostEnabledDuringTheRun = user.hostEnabledDuringTheRun;
    boxes = user.boxes;
  }
  platform::SetUi(nullptr);
  ClAccConnect::Inst().Terminate();
  // The notice was posted last; its dispatch hands it to the host's window procedure.
  MSG message;
  while (::PeekMessageW(&message, host, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);

  EXPECT_EQ(0, status);
  EXPECT_EQ(1, boxes);
  EXPECT_FALSE(hostEnabledDuringTheRun);
  EXPECT_EQ(host, progressParent);
  EXPECT_TRUE(::IsWindowEnabled(host));
  ASSERT_EQ(1u, posted.size());
  EXPECT_EQ(32769u, posted[0].message);
  EXPECT_EQ(7u, posted[0].wParam);
  EXPECT_EQ(0, posted[0].lParam);
  EXPECT_TRUE(std::filesystem::exists(testHost.cDrive() / "out" / "host.xml"));
  ::DestroyWindow(host);
}

}  // namespace

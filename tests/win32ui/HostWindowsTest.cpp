// The program's windows put under a real host window under Wine: the host call acts on the
// window the backend made for the program's handle, and a call the system refuses comes
// back as a failed result, with the window left where it was.
#include <memory>

#include <gtest/gtest.h>

#include "platform/script/ScriptBackend.h"
#include "platform/ui/UiBackend.h"
#include "platform/ui/Window.h"
#include "platform/win32ui/Win32UiBackend.h"
#include "runstate/ProgressWindow.h"

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

}  // namespace

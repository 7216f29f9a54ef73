// Shows the native windows of docs/windows.md one after another for scripts/windows-screenshots.sh:
// the conditions dialog (normal and parent mode), a message box over it, the save-file
// dialog and the progress window mid-run. For each it writes OUTPUT_DIR/NAME.ready with the
// window's rectangle on the screen ("width height x y") and keeps the window up, painting,
// until the script has taken the picture and made OUTPUT_DIR/NAME.done.
//   win32ui_screenshots OUTPUT_DIR
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "dialog/ConditionsDialog.h"
#include "dialog/ConditionsTemplate.h"
#include "platform/Cp932.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/UiBackend.h"
#include "platform/ui/Window.h"
#include "platform/win32ui/Win32UiBackend.h"
#include "runstate/ProgressWindow.h"
#include "runtime/Connect.h"
#include "tests/support/FilledConditions.h"
#include "tests/support/TestHost.h"

#include <windows.h>
// After windows.h.
#include <commdlg.h>
// The framework's function of that name is called below; Windows' constants of the same
// names and values stand for the framework's.
#undef MessageBoxA

namespace {

namespace fs = std::filesystem;
using platform::win32ui::NativeDialog;
using platform::win32ui::Win32UiBackend;

fs::path outputDir;
bool allTaken = true;

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// Announces the window and keeps it painted until its picture is taken.
void Capture(const std::string& name, HWND window) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT rect{};
  ::GetWindowRect(window, &rect);
  {
    std::ofstream ready(outputDir / (name + ".ready.tmp"));
    ready << rect.right - rect.left << ' ' << rect.bottom - rect.top << ' ' << rect.left << ' ' << rect.top
          << '\n';
  }
  fs::rename(outputDir / (name + ".ready.tmp"), outputDir / (name + ".ready"));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!fs::exists(outputDir / (name + ".done"))) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "no picture was taken of %s\n", name.c_str());
      allTaken = false;
      return;
    }
    Pump();
    ::Sleep(20);
  }
  std::printf("shown %s (%s)\n", name.c_str(), ::IsWindowVisible(window) ? "visible" : "hidden");
  std::fflush(stdout);
}

std::unique_ptr<ConditionsDialog> Conditions(const std::string& hostPath) {
  velmora::test::ConditionsFill fill;
  fill.companyUtf8 = " 株式会社ベルモア商事";
  fill.periodUtf8 = " 2024/04/01～2025/03/31";
  fill.hostOutputPath = hostPath;
  return velmora::test::FilledConditions(fill);
}

// The next window of this thread that is none of the program's own, once it is shown: a
// message box or the save-file dialog, run by their own modal loops.
std::function<void(HWND)> onForeignWindow;
UINT_PTR foreignTimer = 0;

void CALLBACK LookForForeignWindow(HWND, UINT, UINT_PTR, DWORD) {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM result) {
        auto& ui = static_cast<Win32UiBackend&>(platform::Ui());
        wchar_t className[32] = {};
        ::GetClassNameW(hwnd, className, 32);
        if (::IsWindowVisible(hwnd) && std::wstring(className) == L"#32770" && !ui.WindowOwning(hwnd)) {
          *reinterpret_cast<HWND*>(result) = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  if (!found || !onForeignWindow) return;
  ::KillTimer(nullptr, foreignTimer);
  auto act = std::move(onForeignWindow);
  onForeignWindow = nullptr;
  // The file dialog fills its list after it is shown.
  ::Sleep(300);
  Pump();
  act(found);
}

void WhenForeignWindowShows(std::function<void(HWND)> act) {
  onForeignWindow = std::move(act);
  foreignTimer = ::SetTimer(nullptr, 0, 50, LookForForeignWindow);
}

// Shows a dialog modally and runs `act` inside its loop, then ends it as the cancel key does.
UINT_PTR modalTimer = 0;
std::function<void()> inModalLoop;

const platform::CDialog* modalDialog = nullptr;

void CALLBACK RunInModalLoop(HWND, UINT, UINT_PTR, DWORD) {
  // The dialog loop shows its window once the queue has gone empty.
  auto& backend = static_cast<Win32UiBackend&>(platform::Ui());
  NativeDialog* window = modalDialog ? backend.WindowOf(*modalDialog) : nullptr;
  if (!window || !window->Handle() || !::IsWindowVisible(window->Handle())) return;
  ::KillTimer(nullptr, modalTimer);
  auto act = std::move(inModalLoop);
  inModalLoop = nullptr;
  if (act) act();
}

// Ends the dialog as its cancel button would, without the cancel question.
void WhileShown(ConditionsDialog& dialog, std::function<void(NativeDialog&)> act) {
  modalDialog = &dialog;
  inModalLoop = [&dialog, act] {
    auto& backend = static_cast<Win32UiBackend&>(platform::Ui());
    NativeDialog* window = backend.WindowOf(dialog);
    act(*window);
    dialog.EndDialog(IDCANCEL);
    if (window->Handle()) ::EndDialog(window->Handle(), IDCANCEL);
  };
  modalTimer = ::SetTimer(nullptr, 0, 100, RunInModalLoop);
  dialog.DoModal();
  modalDialog = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: win32ui_screenshots OUTPUT_DIR\n");
    return 2;
  }
  outputDir = fs::path(argv[1]);
  fs::create_directories(outputDir);
  velmora::test::TestHost host;
  ClAccConnect::Inst().Initiate();
  platform::SetUi(std::make_unique<Win32UiBackend>());

  auto normal = Conditions("");
  WhileShown(*normal, [&](NativeDialog& window) {
    const HWND path = window.ControlWindow(kIdcOutputPath);
    ::SendMessageW(path, EM_SETSEL, 0, -1);
    for (const wchar_t unit : std::wstring(L"C:\\決算書\\kessan.xml")) ::SendMessageW(path, WM_CHAR, unit, 1);
    normal->SetFocusTo(kIdcFirstMonth);
    Capture("conditions", window.Handle());
    // A message box over the dialog, as after a wrong month.
    WhenForeignWindowShows([](HWND box) {
      Capture("message-box", box);
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    platform::MessageBoxA(normal->GetSafeHwnd(),
                          SJ("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。"),
                          SJ("決算書"), MB_OK | MB_ICONEXCLAMATION);
  });

  // The save-file dialog in the folder of the output path. It shows the system's own drives
  // (on Windows the drive map is the identity): the folder is made on the real C:, which
  // is the picture prefix's own.
  ::CreateDirectoryW(L"C:\\決算書", nullptr);
  ::CreateDirectoryW(L"C:\\決算書\\2023年度", nullptr);
  std::ofstream(fs::path(L"C:\\決算書\\kessan-2024.xml")) << "<REPORT/>\n";
  platform::FileDialogRequest request;
  request.title = SJ("保存ファイルを指定");
  request.initialDir = SJ("C:\\決算書\\");
  request.fileName = "kessan.xml";
  request.defaultExt = "XML";
  request.filter = "Xml Files (*.xml)|*.xml||";
  WhenForeignWindowShows([](HWND dialog) {
    Capture("save-file", dialog);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  std::string chosen;
  const bool saved = platform::Ui().SaveFileDialog(request, chosen) == platform::SaveFileAnswer::Chosen;
  std::printf("save-file dialog ended (%s, error %lu)\n", saved ? "chosen" : "cancelled",
              ::CommDlgExtendedError());

  auto parent = Conditions("C:\\Zentor\\Export\\kessan.xml");
  WhileShown(*parent, [&](NativeDialog& window) { Capture("conditions-parent-mode", window.Handle()); });

  ProgressWindow progress;
  progress.Create();
  progress.InitMainBar();
  progress.ShowWindow(SW_SHOW);
  progress.StepRange(1, 4700);
  // The activity bar half way through its run, as between two pulses.
  platform::ControlState* activity = progress.Control(kProgressActivityBarId);
  activity->pos = (activity->rangeLow + activity->rangeHigh) / 2;
  auto& backend = static_cast<Win32UiBackend&>(platform::Ui());
  backend.WindowOf(progress)->SyncProgress();
  Capture("progress", backend.WindowOf(progress)->Handle());
  progress.DestroyWindow();

  platform::SetUi(nullptr);
  ClAccConnect::Inst().Terminate();
  return allTaken ? 0 : 1;
}

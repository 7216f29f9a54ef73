// A whole run of the standard edition through the real windows under Wine. The user is a
// thread timer, which fires inside whichever modal loop runs (the dialog's, a message box's):
// it posts key-downs, characters and clicks to the windows as the system delivers a user's,
// and checks at each step that the windows show what the dialog's model holds.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/LinkApp.h"
#include "dialog/ConditionsTemplate.h"
#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/ui/UiBackend.h"
#include "platform/win32ui/Win32UiBackend.h"
#include "runstate/ProgressWindow.h"
#include "runtime/Connect.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

#include <windows.h>
// The common controls' declarations need windows.h first.
#include <commctrl.h>
// The dialog's methods of these names are the framework's.
#undef GetDlgItemText
#undef GetWindowText

namespace {

namespace fs = std::filesystem;
using platform::win32ui::NativeDialog;
using platform::win32ui::Win32UiBackend;

std::string Utf8Of(const std::wstring& text) {
  std::string utf8(text.size() * 3 + 1, '\0');
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return utf8;
}

std::string WindowUtf8(HWND hwnd) {
  wchar_t text[1024] = {};
  return Utf8Of(std::wstring(text, static_cast<std::size_t>(::GetWindowTextW(hwnd, text, 1024))));
}

std::string ModelUtf8(const std::string& cp932Text) { return platform::cp932::ToUtf8(cp932Text).text; }

void PostKey(HWND window, WPARAM key) { ::PostMessageW(window, WM_KEYDOWN, key, 1); }

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM found) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

struct SeenBox {
  std::string caption;
  std::string text;
  // The progress window behind the box: its caption and main bar, on the screen and in the model.
  std::string progressCaption, modelProgressCaption;
  int progressBar = -1, modelProgressBar = -2;
};

// The user: one step per timer tick, each after the windows have taken the previous one.
class User {
 public:
  explicit User(Win32UiBackend& backend) : backend_(backend) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &User::Tick);
  }
  ~User() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  User(const User&) = delete;
  User& operator=(const User&) = delete;

  std::vector<SeenBox> boxes;
  int step = 0;
  bool ledgerWasChecked = false;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->Act();
  }

  NativeDialog* ProgramWindow(int templateId) const {
    for (const HWND hwnd : ThreadWindows()) {
      NativeDialog* window = backend_.WindowOwning(hwnd);
      if (window && window->Dialog() && window->Dialog()->Template().id == templateId) return window;
    }
    return nullptr;
  }

  // Every control shows the model's text, check state and enabled state, and the focus is
  // where the model has it.
  static void ExpectMirrorsModel(const NativeDialog& window) {
    const platform::CDialog& dialog = *window.Dialog();
    for (const platform::ControlState& control : dialog.Controls()) {
      if (control.tmpl.id == platform::IDC_STATIC) continue;
      const HWND hwnd = window.ControlWindow(control.tmpl.id);
      ASSERT_NE(nullptr, hwnd) << control.tmpl.id;
      EXPECT_EQ(ModelUtf8(control.text), WindowUtf8(hwnd)) << control.tmpl.id;
      EXPECT_EQ(control.enabled, ::IsWindowEnabled(hwnd) != FALSE) << control.tmpl.id;
      if (control.tmpl.kind == platform::ControlKind::RadioButton ||
          control.tmpl.kind == platform::ControlKind::CheckBox) {
        EXPECT_EQ(control.checked, ::SendMessageW(hwnd, BM_GETCHECK, 0, 0)) << control.tmpl.id;
      }
    }
    EXPECT_EQ(window.ControlWindow(dialog.GetFocusId()), ::GetFocus())
        << "model focus " << dialog.GetFocusId();
  }

  void AnswerBox(HWND box) {
    SeenBox seen;
    seen.caption = WindowUtf8(box);
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      wchar_t className[32] = {};
      ::GetClassNameW(child, className, 32);
      if (_wcsicmp(className, L"Static") == 0) seen.text += WindowUtf8(child);
    }
    if (NativeDialog* progress = ProgramWindow(kProgressTemplateId)) {
      const auto& model = static_cast<const ProgressWindow&>(*progress->Dialog());
      seen.progressCaption = WindowUtf8(progress->Handle());
      seen.modelProgressCaption = ModelUtf8(model.GetWindowText());
      seen.progressBar =
          static_cast<int>(::SendMessageW(progress->ControlWindow(kProgressMainBarId), PBM_GETPOS, 0, 0));
      seen.modelProgressBar = model.MainPos();
    }
    boxes.push_back(seen);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
  }

  void Act() {
    for (const HWND hwnd : ThreadWindows()) {
      wchar_t className[32] = {};
      ::GetClassNameW(hwnd, className, 32);
      if (::IsWindowVisible(hwnd) && std::wstring(className) == L"#32770" && !backend_.WindowOwning(hwnd)) {
        AnswerBox(hwnd);
        return;
      }
    }
    NativeDialog* conditions = ProgramWindow(kConditionsTemplateId);
    if (!conditions || !::IsWindowVisible(conditions->Handle())) return;
    platform::CDialog& model = *conditions->Dialog();
    const HWND path = conditions->ControlWindow(kIdcOutputPath);
    const HWND ledger = conditions->ControlWindow(kIdcGeneralLedger);
    switch (step) {
      case 0:
        // The dialog opens as its model has it; two tabs lead from the first month to the path.
        ExpectMirrorsModel(*conditions);
        EXPECT_EQ(kIdcFirstMonth, model.GetFocusId());
        PostKey(::GetFocus(), VK_TAB);
        PostKey(::GetFocus(), VK_TAB);
        break;
      case 1: {
        // Tabbing into the path selected its whole text, in the model and on the screen.
        EXPECT_EQ(kIdcOutputPath, model.GetFocusId());
        EXPECT_EQ(path, ::GetFocus());
        const auto selection = static_cast<DWORD>(::SendMessageW(path, EM_GETSEL, 0, 0));
        EXPECT_EQ(0, LOWORD(selection));
        EXPECT_EQ(::GetWindowTextLengthW(path), HIWORD(selection));
        // Typing replaces it; then a click on the general-ledger box.
        for (const wchar_t unit : std::wstring(L"C:\\出力\\run.xml")) ::PostMessageW(path, WM_CHAR, unit, 1);
        ledgerWasChecked = model.IsDlgButtonChecked(kIdcGeneralLedger) != 0;
        ::PostMessageW(ledger, BM_CLICK, 0, 0);
        break;
      }
      case 2:
        EXPECT_EQ("C:\\出力\\run.xml", ModelUtf8(model.GetDlgItemText(kIdcOutputPath)));
        EXPECT_NE(ledgerWasChecked, model.IsDlgButtonChecked(kIdcGeneralLedger) != 0);
        EXPECT_EQ(kIdcGeneralLedger, model.GetFocusId());
        ExpectMirrorsModel(*conditions);
        PostKey(::GetFocus(), VK_F12);
        break;
      default:
        // A dialog still open long after F12 would wait for a user forever.
        if (++ticksAfterLastStep_ == kPatience) {
          ADD_FAILURE() << "the conditions dialog stayed open after F12";
          ::PostMessageW(conditions->Handle(), WM_CLOSE, 0, 0);
        }
        return;
    }
    ++step;
  }

  static constexpr int kPatience = 250;  // ticks of 20 ms
  static User* current_;
  Win32UiBackend& backend_;
  int ticksAfterLastStep_ = 0;
  UINT_PTR timer_ = 0;
};

User* User::current_ = nullptr;

TEST(Win32ProgramRun, TheUserTypesClicksAndPressesF12AndTheWindowsFollowTheModel) {
  velmora::test::TestHost host;
  ASSERT_TRUE(host.loaded());
  platform::faults::Clear();
  ASSERT_EQ(0, ClAccConnect::Inst().Initiate());
  const fs::path programFolder = host.cDrive() / "prog";
  fs::create_directories(programFolder);
  fs::create_directories(host.cDrive() / u8"出力");
  for (const char* name : {"ZentorDef.ini", "SUPPORT.INF"}) {
    fs::copy_file(fs::path(VELMORA_TEST_SOURCE_DIR) / "data" / name, programFolder / name,
                  fs::copy_options::overwrite_existing);
  }
  auto owned = std::make_unique<Win32UiBackend>();
  Win32UiBackend& backend = *owned;
  platform::SetUi(std::move(owned));
  int status = -1;
  std::vector<SeenBox> boxes;
  bool ledgerWasChecked = false;
  {
    User user(backend);
    LinkApp app(kVelmora1);
    app.m_programPath = "C:\\prog\\Velmora1.exe";
    status = app.Run();
    EXPECT_EQ(3, user.step);
    boxes = user.boxes;
    ledgerWasChecked = user.ledgerWasChecked;
  }
  platform::SetUi(nullptr);
  ClAccConnect::Inst().Terminate();

  EXPECT_EQ(0, status);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("決算書", boxes[0].caption);
  EXPECT_NE(std::string::npos, boxes[0].text.find("決算書情報の出力が終了しました。")) << boxes[0].text;
  // The hidden progress window still shows where the run ended, as its model does.
  EXPECT_EQ("集計中 100％", boxes[0].progressCaption);
  EXPECT_EQ(boxes[0].modelProgressCaption, boxes[0].progressCaption);
  EXPECT_EQ(10000, boxes[0].progressBar);
  EXPECT_EQ(boxes[0].modelProgressBar, boxes[0].progressBar);

  ASSERT_TRUE(std::filesystem::exists(host.cDrive() / u8"出力" / "run.xml"))
      << "no document where the user typed";
  const std::string document = velmora::test::ReadBytes(host.cDrive() / u8"出力" / "run.xml");
  EXPECT_EQ(0u, document.find("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>"))
      << document.substr(0, 80);
  // The click on the general-ledger box reached the run: the ledger form is there or not.
  EXPECT_EQ(!ledgerWasChecked, document.find("HJ00780S") != std::string::npos);
}

}  // namespace

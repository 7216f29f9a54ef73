// The dialog framework's default processing: keys, clicks, typed text, focus, the modal run.
#include <gtest/gtest.h>

#include <limits>

#include "TestDialogs.h"
#include "platform/Cp932.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Window.h"

using namespace platform;
using namespace uitest;

namespace {

class DialogDispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    auto backend = std::make_unique<ReportingBackend>();
    ui = backend.get();
    SetUi(std::move(backend));
    dialog.Create(0);
    ui->reports.clear();
  }
  ReportingBackend* ui = nullptr;
  SampleDialog dialog;
  using Calls = std::vector<std::string>;
};

KeyMessage Press(Key key, bool shift = false) {
  KeyMessage message;
  message.key = key;
  message.shift = shift;
  return message;
}

TEST_F(DialogDispatch, EnterOnPushButtonRunsItsCommandOnly) {
  ASSERT_TRUE(dialog.UserFocus(kApply));
  dialog.UserKey(Press(Key::Enter));
  EXPECT_EQ(Calls({"cmd 130"}), dialog.calls);
  EXPECT_FALSE(dialog.HasEnded());
}

TEST_F(DialogDispatch, EnterElsewhereIsTheDefaultOkCommand) {
  dialog.UserFocus(kDigits);
  dialog.UserKey(Press(Key::Enter, true));
  EXPECT_EQ(Calls({"cmd 1", "ok"}), dialog.calls);
  EXPECT_TRUE(dialog.HasEnded());
  EXPECT_EQ(IDOK, dialog.Result());
}

TEST_F(DialogDispatch, OverriddenOkKeepsTheDialogOpen) {
  dialog.okEnds = false;
  dialog.UserFocus(kCheck);
  dialog.UserKey(Press(Key::Enter));
  EXPECT_FALSE(dialog.HasEnded());
}

TEST_F(DialogDispatch, EscAndCloseBoxAreTheCancelCommand) {
  dialog.UserKey(Press(Key::Esc));
  EXPECT_EQ(Calls({"cmd 2", "cancel"}), dialog.calls);
  EXPECT_EQ(IDCANCEL, dialog.Result());

  SampleDialog other;
  other.Create(0);
  other.UserClose();
  EXPECT_EQ(Calls({"cmd 2", "cancel"}), other.calls);
  EXPECT_TRUE(other.HasEnded());
}

TEST_F(DialogDispatch, KeyTakenByPreTranslationGetsNoDefaultProcessing) {
  dialog.UserKey(Press(Key::F12));
  EXPECT_EQ(Calls({"pre F12"}), dialog.calls);
  dialog.takeF12 = false;
  dialog.UserKey(Press(Key::F12));
  EXPECT_EQ(Calls({"pre F12"}), dialog.calls);
  EXPECT_FALSE(dialog.HasEnded());
}

TEST_F(DialogDispatch, TabVisitsEnabledTabStopsInTemplateOrderAndWraps) {
  dialog.UserFocus(kDigits);
  for (int i = 0; i < 5; ++i) dialog.UserKey(Press(Key::Tab));
  // The disabled edit and the radio buttons (no tab stop) are passed over; edits get their
  // whole text selected.
  EXPECT_EQ(Calls({"focus 102 all", "focus 120", "focus 130", "focus 131", "focus 100 all"}), ui->reports);
  ui->reports.clear();
  dialog.UserKey(Press(Key::Tab, true));
  EXPECT_EQ(Calls({"focus 131"}), ui->reports);
  dialog.EnableDlgItem(kName, false);
  dialog.UserFocus(kDigits);
  dialog.UserKey(Press(Key::Tab));
  EXPECT_EQ(kCheck, dialog.GetFocusId());
}

TEST_F(DialogDispatch, RadioClickUnchecksOnlyItsOwnGroup) {
  dialog.UserClick(kRadioB2);
  dialog.UserClick(kRadioA1);
  dialog.UserClick(kRadioA2);
  EXPECT_EQ(0, dialog.IsDlgButtonChecked(kRadioA1));
  EXPECT_EQ(1, dialog.IsDlgButtonChecked(kRadioA2));
  EXPECT_EQ(0, dialog.IsDlgButtonChecked(kRadioB1));
  EXPECT_EQ(1, dialog.IsDlgButtonChecked(kRadioB2));
  EXPECT_EQ(kRadioA2, dialog.GetFocusId());
}

TEST_F(DialogDispatch, CheckBoxTogglesAndDisabledControlsRefuseTheUser) {
  dialog.UserClick(kCheck);
  EXPECT_EQ(1, dialog.IsDlgButtonChecked(kCheck));
  dialog.UserClick(kCheck);
  EXPECT_EQ(0, dialog.IsDlgButtonChecked(kCheck));

  dialog.EnableDlgItem(kOther, false);
  EXPECT_FALSE(dialog.UserClick(kOther));
  EXPECT_FALSE(dialog.UserFocus(kOther));
  EXPECT_FALSE(dialog.UserSetText(kDisabledEdit, "x"));
  EXPECT_FALSE(dialog.UserClick(999));
  EXPECT_FALSE(dialog.UserFocus(10));  // a label
  EXPECT_EQ(Calls({"cmd 120", "cmd 120"}), dialog.calls);
}

TEST_F(DialogDispatch, TypedTextFollowsTheEditsLimits) {
  dialog.UserSetText(kDigits, "1a2b3");
  EXPECT_EQ("12", dialog.GetDlgItemText(kDigits));
  EXPECT_EQ(kDigits, dialog.GetFocusId());
  // A double-byte character counts two bytes and is never cut in half.
  const std::string table = cp932::LiteralFromUtf8("表表表");
  dialog.UserSetText(kName, table);
  EXPECT_EQ(cp932::LiteralFromUtf8("表表"), dialog.GetDlgItemText(kName));
  // The program's own text is not limited, as with a real edit.
  dialog.SetDlgItemText(kDigits, "1234");
  EXPECT_EQ("1234", dialog.GetDlgItemText(kDigits));
  dialog.LimitText(kName, 3);
  dialog.UserSetText(kName, "abcdef");
  EXPECT_EQ("abc", dialog.GetDlgItemText(kName));
}

TEST_F(DialogDispatch, SelectWholeTextReportsTheFocusAndSelection) {
  dialog.SetDlgItemText(kName, "abc");
  dialog.SelectWholeText(kName);
  dialog.SetFocusTo(kApply);
  EXPECT_EQ(Calls({"focus 102 all", "focus 130"}), ui->reports);
  EXPECT_EQ(0, dialog.Control(kName)->selStart);
  EXPECT_EQ(3, dialog.Control(kName)->selEnd);
}

TEST(DialogModal, InitialisesThenRunsTheLoopUntilEnded) {
  auto backend = std::make_unique<ReportingBackend>();
  ReportingBackend* ui = backend.get();
  SetUi(std::move(backend));
  ui->modalKeys = {KeyMessage{Key::Tab}, KeyMessage{Key::Enter}};
  SampleDialog dialog;
  EXPECT_EQ(IDOK, dialog.DoModal());
  // Initial focus: the first enabled tab stop; Tab then reaches the name edit.
  EXPECT_EQ((std::vector<std::string>{"init 500", "modal 500", "focus 102 all", "end 500 1", "destroy 500"}),
            ui->reports);
  ASSERT_NE(0, ui->lastInitialised);
  EXPECT_EQ(nullptr, FindProgramWindow(ui->lastInitialised));
}

TEST(DialogModal, EndedDuringInitialisationRunsNoLoop) {
  auto backend = std::make_unique<ReportingBackend>();
  ReportingBackend* ui = backend.get();
  SetUi(std::move(backend));
  SampleDialog dialog;
  dialog.endInInit = true;
  EXPECT_EQ(77, dialog.DoModal());
  EXPECT_EQ((std::vector<std::string>{"end 500 77", "destroy 500"}), ui->reports);
}

TEST(ProgressControl, PositionStaysWithinItsRange) {
  const DialogTemplate t = uitest::ProgressTemplate();
  CDialog window(t, 0);
  CProgressCtrl ctrl;
  ctrl.Attach(&window, 1016);
  ctrl.SetRange32(0, 10);
  EXPECT_EQ(0, ctrl.OffsetPos(7));
  EXPECT_EQ(7, ctrl.OffsetPos(7));
  EXPECT_EQ(10, ctrl.GetPos());
  ctrl.SetPos(-3);
  EXPECT_EQ(0, ctrl.GetPos());
  ctrl.SetPos(9);
  ctrl.SetRange32(0, 5);
  EXPECT_EQ(5, ctrl.GetPos());
  CProgressCtrl unattached;
  EXPECT_EQ(0, unattached.OffsetPos(3));

  // Offsets and steps near the integer limits clamp instead of overflowing.
  ctrl.SetRange32(-10, 10);
  ctrl.SetPos(5);
  ctrl.OffsetPos(std::numeric_limits<int>::max());
  EXPECT_EQ(10, ctrl.GetPos());
  ctrl.OffsetPos(std::numeric_limits<int>::min());
  EXPECT_EQ(-10, ctrl.GetPos());
  ctrl.SetStep(std::numeric_limits<int>::max());
  ctrl.SetPos(3);
  ctrl.StepIt();
  EXPECT_EQ(10, ctrl.GetPos());
}

TEST(WindowCalls, ProgramWindowsAreActedOnAndForeignHandlesGoToTheHost) {
  unsetenv("ORBECK_HOME");
  auto backend = std::make_unique<ReportingBackend>();
  ReportingBackend* ui = backend.get();
  SetUi(std::move(backend));
  SampleDialog progress(0, 131);
  progress.Create(0);
  const HWND own = progress.GetSafeHwnd();
  ASSERT_NE(nullptr, FindProgramWindow(own));
  ui->reports.clear();

  BringWindowToTop(own);
  SetForegroundWindow(own);
  UpdateWindow(own);
  // No host window listens behind 1048600: the window stays where it was, and says so.
  EXPECT_EQ(0, SetParent(own, 1048600));
  EXPECT_EQ(0, progress.ParentWindow());
  EXPECT_EQ(GetDesktopWindow(), SetParent(own, 0));
  EXPECT_EQ((std::vector<std::string>{"top 131", "foreground 131", "repaint 131", "parent 131 0"}),
            ui->reports);
  EnableWindow(own, false);
  EXPECT_FALSE(progress.IsWindowEnabled());

  EXPECT_FALSE(PostMessageA(1048600, 0x8001, 3, 0));
  ASSERT_EQ(2u, ui->hostCalls.size());  // the re-parenting under a host window, then the post
  EXPECT_EQ(HostWindowCall::Kind::Parent, ui->hostCalls[0].kind);
  EXPECT_EQ(own, ui->hostCalls[0].child);
  EXPECT_FALSE(ui->hostCalls[0].delivered);
  EXPECT_EQ(HostWindowCall::Kind::PostMessage, ui->hostCalls[1].kind);
  EXPECT_EQ(3, ui->hostCalls[1].wParam);
  EXPECT_FALSE(ui->hostCalls[1].delivered);
}

TEST(WindowCalls, WaitCursorCountsItsDepth) {
  auto backend = std::make_unique<ReportingBackend>();
  ReportingBackend* ui = backend.get();
  SetUi(std::move(backend));
  CWinApp app;
  app.BeginWaitCursor();
  app.BeginWaitCursor();
  app.RestoreWaitCursor();
  app.EndWaitCursor();
  app.EndWaitCursor();
  app.EndWaitCursor();  // unbalanced: stays at zero
  app.RestoreWaitCursor();
  EXPECT_EQ((std::vector<int>{1, 2, 2, 1, 0}), ui->waitCursorDepths);
}

TEST(WinApp, RunCallsExitInstanceWhateverInitInstanceReturns) {
  struct App : CWinApp {
    std::vector<std::string> calls;
    bool InitInstance() override {
      calls.push_back("init");
      exitCode_ = 5;
      return false;
    }
    int ExitInstance() override {
      calls.push_back("exit");
      return CWinApp::ExitInstance();
    }
  } app;
  EXPECT_EQ(5, app.Run());
  EXPECT_EQ((std::vector<std::string>{"init", "exit"}), app.calls);
}

TEST(DefaultBackend, AnswersOkAndNoAndClosesDialogsAsEsc) {
  SetUi(nullptr);
  EXPECT_EQ(IDOK, MessageBoxA(0, "a", "b", MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(IDNO, MessageBoxA(0, "a", "b", MB_YESNO | MB_ICONQUESTION));
  SampleDialog dialog;
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_EQ((std::vector<std::string>{"cmd 2", "cancel"}), dialog.calls);
  auto& recording = dynamic_cast<RecordingBackend&>(Ui());
  EXPECT_EQ(2u, recording.boxes.size());
}

}  // namespace

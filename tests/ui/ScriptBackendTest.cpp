// The scripted backend: script lines played into a dialog, boxes and save dialogs answered,
// and the transcript written byte for byte. Code page 932 inputs are made with iconv so that
// the backend's own conversion is checked against an independent one.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "TestDialogs.h"
#include "platform/script/ScriptBackend.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Window.h"
#include "tests/support/Cp932Text.h"
#include "tests/support/TestFiles.h"

using namespace platform;
using platform::script::ScriptBackend;
using velmora::test::Cp932;

namespace {

DialogTemplate ConditionsLike() {
  DialogTemplate t;
  t.id = 600;
  t.caption = Cp932("条件");
  auto add = [&](int id, ControlKind kind, std::uint32_t style, const std::string& text = {}) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.style = style;
    c.maxLength = id == 100 ? 2 : 0;
    c.text = text;
    t.controls.push_back(c);
  };
  add(IDC_STATIC, ControlKind::Label, 0, "x");
  add(100, ControlKind::Edit, StyleTabStop | StyleDigitsOnly);
  add(102, ControlKind::Edit, StyleTabStop);
  add(130, ControlKind::PushButton, StyleTabStop, Cp932("実行"));
  add(131, ControlKind::PushButton, StyleTabStop | StyleDisabled);
  return t;
}

// Execute (130) refuses an empty name with a notice, else asks before it ends with 1002;
// cancelling says so first.
class CheckingDialog : public CDialog {
 public:
  CheckingDialog() : CDialog(ConditionsLike(), 0) {}
  bool ignoreCancel = false;

 protected:
  bool OnCommand(int id) override {
    if (id != 130) return false;
    if (GetDlgItemText(102).empty()) {
      MessageBoxA(GetSafeHwnd(), Cp932("名前がありません。"), Cp932("決算書"), MB_OK | MB_ICONEXCLAMATION);
      SelectWholeText(102);
    } else if (MessageBoxA(GetSafeHwnd(), Cp932("上書きしますか？"), Cp932("決算書"),
                           MB_YESNO | MB_ICONQUESTION) == IDYES) {
      EndDialog(1002);
    }
    return true;
  }
  void OnCancel() override {
    if (ignoreCancel) return;
    MessageBoxA(GetSafeHwnd(), Cp932("中止します。"), Cp932("決算書"), MB_OK | MB_ICONINFORMATION);
    EndDialog(1003);
  }
};

std::filesystem::path TempTranscript(const char* name) {
  return std::filesystem::temp_directory_path() /
         (std::string("velmora_ui_") + name + "_" + std::to_string(::getpid()) + ".jsonl");
}

FileDialogRequest SaveRequest() {
  FileDialogRequest request;
  request.title = Cp932("保存ファイルを指定");
  request.initialDir = "C:\\Out\\";
  request.fileName = "a.xml";
  request.filter = "Xml Files (*.xml)|*.xml||";
  request.defaultExt = "XML";
  request.flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  return request;
}

TEST(ScriptBackendRun, PlaysTheScriptAndWritesTheTranscriptByteForByte) {
  const auto path = TempTranscript("run");
  const std::string script =
      "# months first\n"
      "set 100 4x5\n"
      "set 131 nope\n"
      "click 130\n"
      "answer no\n"
      "set 102 表\n"
      "\r\n"
      "click 130\n"
      "answer yes\n"
      "save C:\\never\n";
  auto owned = std::make_unique<ScriptBackend>(script, path.string());
  ScriptBackend* backend = owned.get();
  ASSERT_TRUE(backend->ScriptErrors().empty());
  SetUi(std::move(owned));
  {
    CheckingDialog dialog;
    EXPECT_EQ(1002, dialog.DoModal());
    EXPECT_EQ("45", dialog.GetDlgItemText(100));
    EXPECT_EQ(Cp932("表"), dialog.GetDlgItemText(102));
  }
  std::string chosen;
  EXPECT_EQ(SaveFileAnswer::Chosen, backend->SaveFileDialog(SaveRequest(), chosen));
  EXPECT_EQ("C:\\never.XML", chosen);
  EXPECT_EQ(SaveFileAnswer::Cancelled, backend->SaveFileDialog(SaveRequest(), chosen));
  backend->RunEnded(0);

  const std::string expected =
      R"({"event":"dialog","template":600,"caption":"条件","controls":[{"id":100,"text":"","enabled":true,"checked":0},{"id":102,"text":"","enabled":true,"checked":0},{"id":130,"text":"実行","enabled":true,"checked":0},{"id":131,"text":"","enabled":false,"checked":0}]})"
      "\n"
      R"({"event":"scriptIgnored","line":3,"action":"set","reason":"disabled"})"
      "\n"
      R"({"event":"messageBox","owner":600,"caption":"決算書","text":"名前がありません。","icon":"exclamation","buttons":"ok","answer":"ok","scripted":false})"
      "\n"
      R"({"event":"focus","template":600,"control":102,"selectAll":true})"
      "\n"
      R"({"event":"scriptIgnored","line":5,"action":"answer","reason":"noBox"})"
      "\n"
      R"({"event":"messageBox","owner":600,"caption":"決算書","text":"上書きしますか？","icon":"question","buttons":"yesno","answer":"yes","scripted":true})"
      "\n"
      R"({"event":"dialogEnd","template":600,"result":1002})"
      "\n"
      R"({"event":"window","template":600,"call":"destroy","parent":0})"
      "\n"
      R"({"event":"saveFileDialog","owner":null,"title":"保存ファイルを指定","folder":"C:\\Out\\","fileName":"a.xml","filter":"Xml Files (*.xml)|*.xml||","defaultExt":"XML","flags":6156,"answer":"save","path":"C:\\never.XML"})"
      "\n"
      R"({"event":"saveFileDialog","owner":null,"title":"保存ファイルを指定","folder":"C:\\Out\\","fileName":"a.xml","filter":"Xml Files (*.xml)|*.xml||","defaultExt":"XML","flags":6156,"answer":"cancel","path":null})"
      "\n"
      R"({"event":"exit","status":0})"
      "\n";
  EXPECT_EQ(expected, velmora::test::ReadBytes(path));
  EXPECT_EQ(11u, backend->Transcript().size());
  SetUi(nullptr);
  std::filesystem::remove(path);
}

TEST(ScriptBackendRun, DialogStillWaitingAtTheEndIsClosedAsEsc) {
  auto owned = std::make_unique<ScriptBackend>("set 102 ab\n");
  ScriptBackend* backend = owned.get();
  SetUi(std::move(owned));
  CheckingDialog dialog;
  EXPECT_EQ(1003, dialog.DoModal());
  const auto& events = backend->Transcript();
  ASSERT_EQ(5u, events.size());
  EXPECT_EQ("scriptEnded", events[1]["event"]);
  EXPECT_EQ(600, events[1]["template"]);
  // The Esc went through the dialog's own cancel, whose notice needed no answer.
  EXPECT_EQ("information", events[2]["icon"]);
  EXPECT_EQ(false, events[2]["scripted"]);
  EXPECT_EQ(1003, events[3]["result"]);

  CheckingDialog stubborn;
  stubborn.ignoreCancel = true;
  EXPECT_EQ(IDCANCEL, stubborn.DoModal());
  SetUi(nullptr);
}

TEST(ScriptBackendBoxes, AnswersAreTakenOnlyByTheBoxTheyFit) {
  ScriptBackend backend("answer ok\nanswer yes\nanswer ok\n");
  EXPECT_EQ(IDOK, backend.MessageBox(0, "a", "c", MB_OK));
  EXPECT_EQ(true, backend.Transcript().back()["scripted"]);
  // An OK box leaves "answer yes" for the question after it.
  EXPECT_EQ(IDOK, backend.MessageBox(0, "a", "c", MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(false, backend.Transcript().back()["scripted"]);
  EXPECT_EQ(IDYES, backend.MessageBox(0, "a", "c", MB_YESNO | MB_ICONQUESTION));
  // A question with "answer ok" next is answered no, and the answer stays queued.
  EXPECT_EQ(IDNO, backend.MessageBox(4242, "a", "c", MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(false, backend.Transcript().back()["scripted"]);
  EXPECT_EQ(4242, backend.Transcript().back()["owner"]["host"]);
  EXPECT_EQ(IDOK, backend.MessageBox(0, "a", "c", MB_OK));
  EXPECT_EQ(true, backend.Transcript().back()["scripted"]);
  EXPECT_EQ(IDNO, backend.MessageBox(0, "a", "c", MB_YESNO));
  EXPECT_EQ("none", backend.Transcript().back()["icon"]);
}

TEST(ScriptBackendParse, ReportsEveryBadLineWithItsNumber) {
  ScriptBackend backend(
      "set 100 1\n"
      "bogus 3\n"
      "check 5 2\n"
      "key Space\n"
      "key tab+Shift+ctrl\n"
      "set x 1\n"
      "close now\n"
      "answer maybe\n"
      "save\n"
      "  # indented comment\n"
      "click 12a\n");
  EXPECT_EQ((std::vector<std::string>{"line 2: unknown action \"bogus\"",
                                      "line 3: check needs a control id and 0 or 1",
                                      "line 4: unknown key \"Space\"", "line 6: set needs a control id",
                                      "line 7: close takes no argument", "line 8: answer needs ok, yes or no",
                                      "line 9: save needs a path", "line 11: click needs a control id"}),
            backend.ScriptErrors());
}

TEST(ScriptBackendEvents, ProgressCaptionCarriesTheMainBarPosition) {
  auto owned = std::make_unique<ScriptBackend>("");
  ScriptBackend* backend = owned.get();
  SetUi(std::move(owned));
  const DialogTemplate t = uitest::ProgressTemplate();
  CDialog progress(t, 0);
  CProgressCtrl mainBar;
  mainBar.Attach(&progress, 1016);
  mainBar.SetRange32(0, 10000);
  mainBar.SetPos(500);
  progress.SetWindowText(Cp932("集計中 5％"));
  progress.SetWindowText(Cp932("集計中 5％"));  // unchanged: no event
  ASSERT_EQ(1u, backend->Transcript().size());
  EXPECT_EQ(R"({"caption":"集計中 5％","event":"progress","position":500})", backend->Transcript()[0].dump());

  CDialog other(ConditionsLike(), 0);
  other.SetWindowText("T");
  EXPECT_EQ(R"({"caption":"T","event":"caption","template":600})", backend->Transcript()[1].dump());
  SetUi(nullptr);
}

TEST(ScriptBackendEvents, HostCallsAndWaitCursorAreRecordedAsTheyHappen) {
  const auto path = TempTranscript("host");
  {  // the backend closes its transcript before it is removed (Windows keeps open files)
    ScriptBackend backend("", path.string());
    HostWindowCall call;
    call.kind = HostWindowCall::Kind::PostMessage;
    call.hwnd = 1048577;
    call.message = 32769;
    call.wParam = -1;
    call.lParam = 2;
    call.delivered = true;
    backend.HostCall(call);
    // Flushed at once: a crash after this line would still leave it.
    EXPECT_EQ(
        R"({"event":"host","call":"post","hwnd":1048577,"enable":false,"child":0,"message":32769,"wParam":-1,"lParam":2,"delivered":true})"
        "\n",
        velmora::test::ReadBytes(path));
    backend.WaitCursor(1);
    EXPECT_EQ(R"({"depth":1,"event":"waitCursor"})", backend.Transcript().back().dump());
  }
  std::filesystem::remove(path);
}

TEST(ScriptBackendEvents, UnwritableTranscriptIsReported) {
  ScriptBackend backend("", "/nonexistent-folder/for/transcript.jsonl");
  EXPECT_FALSE(backend.TranscriptWritable());
  ScriptBackend memoryOnly("");
  EXPECT_TRUE(memoryOnly.TranscriptWritable());
}

}  // namespace

TEST(ScriptBackendRun, RefusedActionsAreRecordedWithTheirReason) {
  DialogTemplate t = ConditionsLike();
  ControlTemplate radio;
  radio.id = 140;
  radio.kind = ControlKind::RadioButton;
  radio.style = StyleTabStop | StyleGroup | StyleAutoRadio;
  t.controls.push_back(radio);
  ControlTemplate label;
  label.id = 150;
  label.kind = ControlKind::Label;
  t.controls.push_back(label);

  auto owned = std::make_unique<ScriptBackend>(
      "set 131 x\nset 130 x\nclick 100\ncheck 102 1\nfocus 150\nclick 999\ncheck 140 1\ncheck 140 0\n"
      "save C:\\x.xml\nclose\n");
  ScriptBackend* backend = owned.get();
  SetUi(std::move(owned));
  CDialog dialog(t, 0);
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_EQ(1, dialog.IsDlgButtonChecked(140));
  std::vector<std::string> refused;
  for (const nlohmann::json& e : backend->Transcript()) {
    if (e["event"] == "scriptIgnored") {
      refused.push_back(std::to_string(e["line"].get<int>()) + " " + e["action"].get<std::string>() + " " +
                        e["reason"].get<std::string>());
    }
  }
  EXPECT_EQ((std::vector<std::string>{"1 set disabled", "2 set notEdit", "3 click notButton",
                                      "4 check notButton", "5 focus notFocusable", "6 click unknownControl",
                                      "8 check cannotUncheck", "9 save noBox"}),
            refused);
  SetUi(nullptr);
}

TEST(ScriptBackendBoxes, SavedPathGetsTheDefaultExtensionOnlyWhenItsNameHasNone) {
  // 表 ends in the byte of a backslash in code page 932; it is part of the name.
  ScriptBackend backend("save C:\\a.b\\name\nsave C:\\out\\表\nsave C:\\out\\x.txt\nsave C:\\out\\\n");
  const FileDialogRequest request = SaveRequest();
  std::string chosen;
  ASSERT_EQ(SaveFileAnswer::Chosen, backend.SaveFileDialog(request, chosen));
  EXPECT_EQ("C:\\a.b\\name.XML", chosen);
  ASSERT_EQ(SaveFileAnswer::Chosen, backend.SaveFileDialog(request, chosen));
  EXPECT_EQ(Cp932("C:\\out\\表.XML"), chosen);
  ASSERT_EQ(SaveFileAnswer::Chosen, backend.SaveFileDialog(request, chosen));
  EXPECT_EQ("C:\\out\\x.txt", chosen);
  ASSERT_EQ(SaveFileAnswer::Chosen, backend.SaveFileDialog(request, chosen));
  EXPECT_EQ("C:\\out\\", chosen);
}

TEST(ScriptBackendBoxes, ASavedNameWithoutACodePage932FormIsNeitherChosenNorCancelled) {
  // An emoji, a character of JIS X 0213 outside code page 932, and a folder holding one.
  const std::vector<std::string> paths = {"C:\\out\\決算😀.xml", "C:\\out\\𠮷野家.xml", "C:\\♬\\a.xml"};
  std::string script;
  for (const std::string& path : paths) script += "save " + path + "\n";
  ScriptBackend backend(script);
  ASSERT_TRUE(backend.ScriptErrors().empty());
  for (const std::string& path : paths) {
    std::string chosen = "untouched";
    EXPECT_EQ(SaveFileAnswer::NameWithoutCp932Form, backend.SaveFileDialog(SaveRequest(), chosen)) << path;
    EXPECT_EQ("untouched", chosen);
    const nlohmann::json& event = backend.Transcript().back();
    EXPECT_EQ("nameWithoutCp932Form", event["answer"]) << path;
    EXPECT_EQ(path, event["path"]);
  }
}

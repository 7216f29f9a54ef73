// Dialogs and a backend shared by the framework tests: a dialog with every kind of control,
// recording the handlers the framework calls.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Dialog.h"
#include "platform/ui/RecordingBackend.h"

namespace uitest {

inline constexpr int kDigits = 100;  // digits only, at most 2
inline constexpr int kDisabledEdit = 101;
inline constexpr int kName = 102;  // at most 5
inline constexpr int kRadioA1 = 110, kRadioA2 = 111, kRadioB1 = 112, kRadioB2 = 113;
inline constexpr int kCheck = 120;
inline constexpr int kApply = 130, kOther = 131;

// A progress window's template: template 131 with its main bar, control 1016.
inline platform::DialogTemplate ProgressTemplate() {
  platform::DialogTemplate t;
  t.id = 131;
  platform::ControlTemplate bar;
  bar.id = 1016;
  bar.kind = platform::ControlKind::ProgressBar;
  t.controls.push_back(bar);
  return t;
}

inline platform::DialogTemplate SampleTemplate(int id = 500) {
  using namespace platform;
  DialogTemplate t;
  t.id = id;
  t.caption = "Sample";
  auto add = [&](int cid, ControlKind kind, std::uint32_t style, int maxLength = 0) {
    ControlTemplate c;
    c.id = cid;
    c.kind = kind;
    c.style = style;
    c.maxLength = maxLength;
    t.controls.push_back(c);
  };
  add(10, ControlKind::Label, StyleGroup);
  add(kDigits, ControlKind::Edit, StyleTabStop | StyleDigitsOnly, 2);
  add(kDisabledEdit, ControlKind::Edit, StyleTabStop | StyleDisabled);
  add(kName, ControlKind::Edit, StyleTabStop, 5);
  add(kRadioA1, ControlKind::RadioButton, StyleAutoRadio | StyleGroup);
  add(kRadioA2, ControlKind::RadioButton, StyleAutoRadio);
  add(kRadioB1, ControlKind::RadioButton, StyleAutoRadio | StyleGroup);
  add(kRadioB2, ControlKind::RadioButton, StyleAutoRadio);
  add(kCheck, ControlKind::CheckBox, StyleAutoCheck | StyleTabStop | StyleGroup);
  add(kApply, ControlKind::PushButton, StyleTabStop | StyleGroup);
  add(kOther, ControlKind::PushButton, StyleTabStop);
  return t;
}

// Records which handlers ran, in order ("cmd 130", "ok", "cancel", "pre").
class SampleDialog : public platform::CDialog {
 public:
  explicit SampleDialog(platform::HWND owner = 0, int templateId = 500)
      : CDialog(SampleTemplate(templateId), owner) {}
  std::vector<std::string> calls;
  bool endInInit = false;
  bool okEnds = true;  // false: OnOK refuses to end, as a checking dialog does
  bool takeF12 = true;

 protected:
  bool OnInitDialog() override {
    if (endInInit) EndDialog(77);
    return true;
  }
  bool PreTranslateMessage(const platform::KeyMessage& key) override {
    if (takeF12 && key.key == platform::Key::F12) {
      calls.push_back("pre F12");
      return true;
    }
    return false;
  }
  bool OnCommand(int id) override {
    calls.push_back("cmd " + std::to_string(id));
    return id == kApply;
  }
  void OnOK() override {
    calls.push_back("ok");
    if (okEnds) CDialog::OnOK();
  }
  void OnCancel() override {
    calls.push_back("cancel");
    CDialog::OnCancel();
  }
};

// A backend that also keeps the reports the recording backend leaves out.
class ReportingBackend : public platform::RecordingBackend {
 public:
  std::vector<std::string> reports;
  std::vector<platform::KeyMessage> modalKeys;  // played into every modal loop, then Esc
  platform::HWND lastInitialised = 0;

  void RunModal(platform::CDialog& dialog) override {
    reports.push_back("modal " + std::to_string(dialog.Template().id));
    for (const auto& key : modalKeys) {
      if (dialog.HasEnded()) return;
      dialog.UserKey(key);
    }
    RecordingBackend::RunModal(dialog);
  }
  void DialogInitialised(platform::CDialog& d) override {
    lastInitialised = d.GetSafeHwnd();
    reports.push_back("init " + std::to_string(d.Template().id));
  }
  void DialogEnded(platform::CDialog& d) override {
    reports.push_back("end " + std::to_string(d.Template().id) + " " + std::to_string(d.Result()));
  }
  void FocusMoved(platform::CDialog&, int id, bool all) override {
    reports.push_back("focus " + std::to_string(id) + (all ? " all" : ""));
  }
  void ZOrder(platform::CDialog& d, bool foreground) override {
    reports.push_back(std::string(foreground ? "foreground " : "top ") + std::to_string(d.Template().id));
  }
  void ParentChanged(platform::CDialog& d, platform::HWND parent) override {
    reports.push_back("parent " + std::to_string(d.Template().id) + " " + std::to_string(parent));
  }
  void Repaint(platform::CDialog& d) override {
    reports.push_back("repaint " + std::to_string(d.Template().id));
  }
  void WindowDestroyed(platform::CDialog& d) override {
    reports.push_back("destroy " + std::to_string(d.Template().id));
  }
};

}  // namespace uitest

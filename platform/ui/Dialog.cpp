// CDialog over its control model: creation, the modal run, the program's changes to its
// controls (each reported to the UI backend), and the default processing of the user's
// keys and clicks. Also the registry that maps the program's window handles to dialogs.
#include "platform/ui/Dialog.h"

#include <unordered_map>

#include "platform/Cp932.h"
#include "platform/ui/UiBackend.h"

namespace platform {
namespace {

// Program handles are small even numbers; the host's windows use other numbers.
constexpr HWND kFirstProgramHandle = 4096;
HWND nextHandle = kFirstProgramHandle;

std::unordered_map<HWND, CDialog*>& Registry() {
  static std::unordered_map<HWND, CDialog*> registry;
  return registry;
}

struct {
  HWND hwnd = 0;
  CDialog* dialog = nullptr;
} lastFound;

bool IsButtonKind(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

void SelectAll(ControlState& control) {
  control.selStart = 0;
  control.selEnd = static_cast<int>(control.text.size());
}

// Labels, group boxes and progress bars never take the focus.
bool IsFocusable(ControlKind kind) { return kind == ControlKind::Edit || IsButtonKind(kind); }

// What a real edit keeps of typed text: a digits-only edit refuses every other character,
// and the limit (in code page 932 bytes, as an ANSI edit counts) never splits a character.
std::string TypedText(const ControlTemplate& tmpl, const std::string& typed) {
  std::string kept;
  if (tmpl.style & StyleDigitsOnly) {
    for (std::size_t i = 0; i < typed.size(); ++i) {
      const auto byte = static_cast<unsigned char>(typed[i]);
      if (cp932::IsLeadByte(byte) && i + 1 < typed.size()) {
        ++i;
        continue;
      }
      if (byte >= '0' && byte <= '9') kept.push_back(typed[i]);
    }
  } else {
    kept = typed;
  }
  if (tmpl.maxLength > 0) kept = cp932::BoundedString(kept, static_cast<std::size_t>(tmpl.maxLength));
  return kept;
}

}  // namespace

CDialog* FindProgramWindow(HWND hwnd) {
  if (hwnd == 0) return nullptr;
  // The progress window asks for itself several times per step.
  if (hwnd == lastFound.hwnd) return lastFound.dialog;
  auto& registry = Registry();
  const auto found = registry.find(hwnd);
  if (found == registry.end()) return nullptr;
  lastFound = {hwnd, found->second};
  return found->second;
}

CDialog::CDialog(const DialogTemplate& tmpl, HWND owner)
    : tmpl_(tmpl), owner_(owner), caption_(tmpl.caption) {
  // The control model exists from construction so that the program may attach controls
  // (progress bars) before the window is created.
  controls_.reserve(tmpl_.controls.size());
  for (const auto& control : tmpl_.controls) {
    ControlState state;
    state.tmpl = control;
    state.text = control.text;
    state.enabled = (control.style & StyleDisabled) == 0;
    controls_.push_back(state);
  }
}

CDialog::~CDialog() {
  if (hwnd_ != 0) {
    Ui().WindowDestroyed(*this);
    Unregister();
  }
}

void CDialog::Unregister() {
  Registry().erase(hwnd_);
  if (lastFound.hwnd == hwnd_) lastFound = {};
  hwnd_ = 0;
}

void CDialog::CreateWindowState() {
  if (hwnd_ == 0) {
    hwnd_ = nextHandle;
    nextHandle += 2;
    Registry()[hwnd_] = this;
  }
  ended_ = false;
  result_ = 0;
  focusId_ = 0;
}

int CDialog::DoModal() {
  CreateWindowState();
  modal_ = true;
  visible_ = true;
  if (OnInitDialog() && focusId_ == 0) {
    for (auto& control : controls_) {
      if (control.enabled && (control.tmpl.style & StyleTabStop)) {
        focusId_ = control.tmpl.id;
        // The first edit starts with its text selected, so that typing replaces it.
        if (control.tmpl.kind == ControlKind::Edit) SelectAll(control);
        break;
      }
    }
  }
  if (!ended_) {
    Ui().DialogInitialised(*this);
    Ui().RunModal(*this);
  }
  Ui().DialogEnded(*this);
  modal_ = false;
  DestroyWindow();
  return result_;
}

bool CDialog::Create(HWND parent) {
  CreateWindowState();
  modal_ = false;
  parent_ = parent;
  visible_ = (tmpl_.style & DialogVisible) != 0;
  OnInitDialog();
  Ui().DialogInitialised(*this);
  if (visible_) Ui().WindowShown(*this, true);
  return true;
}

void CDialog::ShowWindow(int command) {
  visible_ = command != SW_HIDE;
  Ui().WindowShown(*this, visible_);
}

void CDialog::EndDialog(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  // A modal dialog reports its end when its loop returns; a modeless one is hidden now.
  if (!modal_) {
    if (visible_) ShowWindow(SW_HIDE);
    Ui().DialogEnded(*this);
  }
}

void CDialog::DestroyWindow() {
  if (hwnd_ == 0) return;
  OnDestroy();
  visible_ = false;
  Ui().WindowDestroyed(*this);
  Unregister();
}

void CDialog::SetParentWindow(HWND parent) {
  parent_ = parent;
  Ui().ParentChanged(*this, parent);
}

void CDialog::SetWindowText(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Ui().CaptionChanged(*this);
}

ControlState* CDialog::Control(int id) {
  for (auto& control : controls_) {
    if (control.tmpl.id == id) return &control;
  }
  return nullptr;
}

const ControlState* CDialog::Control(int id) const {
  for (const auto& control : controls_) {
    if (control.tmpl.id == id) return &control;
  }
  return nullptr;
}

std::string CDialog::GetDlgItemText(int id) const {
  const ControlState* control = Control(id);
  return control ? control->text : std::string();
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
  ControlState* control = Control(id);
  if (!control) return;
  control->text = text;
  const int length = static_cast<int>(text.size());
  control->selStart = length;
  control->selEnd = length;
  Ui().ControlChanged(*this, id);
}

void CDialog::EnableDlgItem(int id, bool enable) {
  ControlState* control = Control(id);
  if (!control || control->enabled == enable) return;
  control->enabled = enable;
  Ui().ControlChanged(*this, id);
}

bool CDialog::IsDlgItemEnabled(int id) const {
  const ControlState* control = Control(id);
  return control && control->enabled;
}

void CDialog::CheckDlgButton(int id, int state) {
  ControlState* control = Control(id);
  if (!control) return;
  control->checked = state;
  Ui().ControlChanged(*this, id);
}

int CDialog::IsDlgButtonChecked(int id) const {
  const ControlState* control = Control(id);
  return control ? control->checked : 0;
}

void CDialog::LimitText(int id, int maxChars) {
  ControlState* control = Control(id);
  if (control) control->tmpl.maxLength = maxChars;
}

void CDialog::SetFocusTo(int id) {
  focusId_ = id;
  Ui().FocusMoved(*this, id, false);
}

void CDialog::SelectWholeText(int id) {
  focusId_ = id;
  if (ControlState* control = Control(id)) SelectAll(*control);
  Ui().FocusMoved(*this, id, true);
}

void CDialog::UpdateWindow() { Ui().Repaint(*this); }

bool CDialog::UserKey(const KeyMessage& key) {
  if (ended_) return false;
  if (!PreTranslateMessage(key)) DefaultKey(key);
  return true;
}

void CDialog::DefaultKey(const KeyMessage& key) {
  switch (key.key) {
    case Key::Enter: {
      const ControlState* focused = Control(focusId_);
      if (focused && focused->enabled && focused->tmpl.kind == ControlKind::PushButton) {
        Command(focusId_);
        return;
      }
      for (const auto& control : controls_) {
        if (control.enabled && control.tmpl.kind == ControlKind::PushButton &&
            (control.tmpl.style & StyleDefaultButton)) {
          Command(control.tmpl.id);
          return;
        }
      }
      Command(IDOK);
      return;
    }
    case Key::Esc:
      Command(IDCANCEL);
      return;
    case Key::Tab:
      MoveFocusByTab(key.shift);
      return;
    case Key::F12:
    case Key::Other:
      return;
  }
}

void CDialog::Command(int id) {
  if (OnCommand(id)) return;
  if (id == IDOK) OnOK();
  if (id == IDCANCEL) OnCancel();
}

void CDialog::MoveFocusByTab(bool backwards) {
  const int count = static_cast<int>(controls_.size());
  if (count == 0) return;
  int current = -1;
  for (int i = 0; i < count; ++i) {
    if (controls_[static_cast<std::size_t>(i)].tmpl.id == focusId_) current = i;
  }
  const int direction = backwards ? -1 : 1;
  int index = current < 0 ? (backwards ? count : -1) : current;
  for (int tried = 0; tried < count; ++tried) {
    index = ((index + direction) % count + count) % count;
    const ControlState& control = controls_[static_cast<std::size_t>(index)];
    if (control.enabled && (control.tmpl.style & StyleTabStop)) {
      // Tabbing into an edit selects its whole text, as a dialog does.
      if (control.tmpl.kind == ControlKind::Edit) {
        SelectWholeText(control.tmpl.id);
      } else {
        SetFocusTo(control.tmpl.id);
      }
      return;
    }
  }
}

void CDialog::CheckRadioInGroup(int id) {
  std::size_t groupStart = 0;
  std::size_t clicked = controls_.size();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].tmpl.style & StyleGroup) groupStart = i;
    if (controls_[i].tmpl.id == id) {
      clicked = i;
      break;
    }
  }
  if (clicked == controls_.size()) return;
  for (std::size_t i = groupStart; i < controls_.size(); ++i) {
    if (i > groupStart && (controls_[i].tmpl.style & StyleGroup)) break;
    ControlState& control = controls_[i];
    if (control.tmpl.kind != ControlKind::RadioButton) continue;
    const int state = i == clicked ? 1 : 0;
    if (control.checked != state) {
      control.checked = state;
      Ui().ControlChanged(*this, control.tmpl.id);
    }
  }
}

bool CDialog::UserClick(int id) {
  ControlState* control = Control(id);
  if (ended_ || !control || !control->enabled || !IsButtonKind(control->tmpl.kind)) return false;
  focusId_ = id;
  if (control->tmpl.kind == ControlKind::RadioButton && (control->tmpl.style & StyleAutoRadio)) {
    CheckRadioInGroup(id);
  } else if (control->tmpl.kind == ControlKind::CheckBox && (control->tmpl.style & StyleAutoCheck)) {
    control->checked = control->checked ? 0 : 1;
    Ui().ControlChanged(*this, id);
  }
  Command(id);
  return true;
}

bool CDialog::UserSetText(int id, const std::string& text) {
  ControlState* control = Control(id);
  if (ended_ || !control || !control->enabled || control->tmpl.kind != ControlKind::Edit) return false;
  // Typing needs the focus: the edit has it from now on.
  focusId_ = id;
  control->text = TypedText(control->tmpl, text);
  const int length = static_cast<int>(control->text.size());
  control->selStart = length;
  control->selEnd = length;
  Ui().ControlChanged(*this, id);
  return true;
}

bool CDialog::UserFocus(int id, bool byKeyboard) {
  ControlState* control = Control(id);
  if (ended_ || !control || !control->enabled || !IsFocusable(control->tmpl.kind)) return false;
  focusId_ = id;
  if (byKeyboard && control->tmpl.kind == ControlKind::Edit) SelectAll(*control);
  return true;
}

bool CDialog::UserClose() {
  if (ended_) return false;
  Command(IDCANCEL);
  return true;
}

bool CDialog::OnInitDialog() { return true; }
void CDialog::DoDataExchange(bool) {}
bool CDialog::PreTranslateMessage(const KeyMessage&) { return false; }
bool CDialog::OnCommand(int) { return false; }
void CDialog::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}
void CDialog::OnCancel() { EndDialog(IDCANCEL); }
void CDialog::OnDestroy() {}

bool CDialog::UpdateData(bool saveAndValidate) {
  DoDataExchange(saveAndValidate);
  return true;
}

}  // namespace platform

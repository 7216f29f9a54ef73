// A program dialog as a Win32 dialog window.
#include "platform/win32ui/NativeDialog.h"

#include "platform/win32ui/DialogTemplateEx.h"
#include "platform/win32ui/KeyTranslation.h"
#include "platform/win32ui/Win32Text.h"

#include <windows.h>
// The common controls' declarations need windows.h first.
#include <commctrl.h>
// The dialog's method of that name is ours; the wide function is called by its own name.
#undef GetWindowText

namespace platform::win32ui {
namespace {

// Counts the handlers of this window that are running the program's code.
class HandlerScope {
 public:
  explicit HandlerScope(int& depth) : depth_(depth) { ++depth_; }
  ~HandlerScope() { --depth_; }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

 private:
  int& depth_;
};

// Sets a flag for the changes made for the model, so that their notifications are not
// taken for the user's.
class SyncScope {
 public:
  explicit SyncScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~SyncScope() { flag_ = previous_; }
  SyncScope(const SyncScope&) = delete;
  SyncScope& operator=(const SyncScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

INT_PTR CALLBACK Procedure(::HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<NativeDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    window = reinterpret_cast<NativeDialog*>(lParam);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  }
  if (!window) return FALSE;
  return window->HandleMessage(hwnd, message, wParam, lParam) ? TRUE : FALSE;
}

std::wstring WindowText(::HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

// A selection in code page 932 bytes as UTF-16 positions of the same text.
int Utf16Offset(const std::string& text, int bytes) {
  if (bytes <= 0) return 0;
  const std::size_t end = std::min(static_cast<std::size_t>(bytes), text.size());
  return static_cast<int>(Wide(std::string_view(text).substr(0, end)).size());
}

bool IsButtonKind(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

}  // namespace

NativeDialog::NativeDialog(CDialog& dialog) : dialog_(&dialog) {}

NativeDialog::~NativeDialog() {
  if (!modal_ && hwnd_ && ::IsWindow(hwnd_)) {
    ::SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    ::DestroyWindow(hwnd_);
  }
}

bool NativeDialog::RunModal(NativeHandle owner) {
  if (!dialog_) return false;
  modal_ = true;
  const std::vector<std::uint32_t> tmpl = BuildDialogTemplate(dialog_->Template());
  const INT_PTR result =
      ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()),
                                owner, Procedure, reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return result != -1;
}

bool NativeDialog::CreateModeless(NativeHandle parent) {
  if (!dialog_) return false;
  modal_ = false;
  const std::vector<std::uint32_t> tmpl = BuildDialogTemplate(dialog_->Template());
  const ::HWND created = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                                      reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()), parent,
                                                      Procedure, reinterpret_cast<LPARAM>(this));
  return created != nullptr;
}

void NativeDialog::Initialise(NativeHandle hwnd) {
  hwnd_ = hwnd;
  // The dialog manager creates the controls in template order, which is the order of the
  // child windows.
  controls_.clear();
  for (::HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    controls_.push_back(child);
  }
  controls_.resize(dialog_->Controls().size(), nullptr);
  shown_.assign(controls_.size(), Shown{});
  caption_ = dialog_->Template().caption;
  SyncAll();
}

bool NativeDialog::HandleMessage(NativeHandle hwnd, unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      if (!dialog_) return true;
      Initialise(hwnd);
      if (dialog_->GetFocusId() == 0) return true;  // the dialog manager's first tab stop
      MoveFocus(dialog_->GetFocusId());
      return false;  // the focus is set
    }
    case WM_COMMAND:
      if (dialog_ && !syncing_) {
        UserCommand(static_cast<int>(static_cast<short>(LOWORD(wParam))), HIWORD(wParam),
                    reinterpret_cast<::HWND>(lParam));
      }
      return true;
    case WM_CLOSE:
      // The close box is the cancel command; only the model ends the dialog.
      if (dialog_) {
        const HandlerScope scope(handlerDepth_);
        dialog_->UserClose();
        AfterUserEvent();
      }
      return true;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      controls_.clear();
      return false;
    default:
      return false;
  }
}

std::size_t NativeDialog::IndexOf(NativeHandle control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control) return i;
  }
  return controls_.size();
}

NativeHandle NativeDialog::ControlWindow(int id) const {
  if (!dialog_) return nullptr;
  const auto& controls = dialog_->Controls();
  for (std::size_t i = 0; i < controls.size() && i < controls_.size(); ++i) {
    if (controls[i].tmpl.id == id) return controls_[i];
  }
  return nullptr;
}

bool NativeDialog::Owns(NativeHandle window) const {
  return hwnd_ && window && (window == hwnd_ || ::IsChild(hwnd_, window));
}

void NativeDialog::UserCommand(int id, unsigned code, NativeHandle control) {
  const std::size_t index = IndexOf(control);
  if (index == controls_.size()) {
    // A command with no control behind it (the dialog manager's IDCANCEL for the system
    // menu's close): the close box.
    if (id == IDCANCEL) {
      const HandlerScope scope(handlerDepth_);
      dialog_->UserClose();
      AfterUserEvent();
    }
    return;
  }
  const ControlKind kind = dialog_->Controls()[index].tmpl.kind;
  const HandlerScope scope(handlerDepth_);
  if (kind == ControlKind::Edit && code == EN_CHANGE) {
    UserEdited(index);
  } else if (kind == ControlKind::Edit && code == EN_SETFOCUS) {
    // The dialog manager selects an edit's whole text when the keyboard brings the focus
    // (an accelerator), a click does not: the selection tells which it was.
    const auto selection = static_cast<DWORD>(::SendMessageW(control, EM_GETSEL, 0, 0));
    const int length = ::GetWindowTextLengthW(control);
    const bool whole = length > 0 && LOWORD(selection) == 0 && HIWORD(selection) == length;
    if (dialog_->GetFocusId() != id) dialog_->UserFocus(id, whole);
  } else if (IsButtonKind(kind) && code == BN_CLICKED) {
    dialog_->UserClick(id);
    // The window shows the model's states again: a radio group, a check box the model did
    // not toggle.
    if (dialog_) SyncAll();
  } else {
    return;
  }
  AfterUserEvent();
}

void NativeDialog::UserEdited(std::size_t index) {
  const ::HWND control = controls_[index];
  const std::string typed = Narrow(WindowText(control));
  const int id = dialog_->Controls()[index].tmpl.id;
  // The window shows the typed text already: the model's report of it changes nothing there.
  shown_[index].text = typed;
  shown_[index].textKnown = true;
  dialog_->UserSetText(id, typed);
  if (!dialog_) return;
  // The model may keep less than was typed (its byte limit, characters without a code page
  // 932 form) or refuse it: the window shows what the model holds.
  const std::string& kept = dialog_->Controls()[index].text;
  if (kept != typed) {
    SetControlText(index, kept);
    const int end = ::GetWindowTextLengthW(control);
    ::SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(end), end);
  }
}

void NativeDialog::TakeFocusFromWindow() {
  const std::size_t index = IndexOf(::GetFocus());
  if (index == controls_.size() || !dialog_) return;
  const int id = dialog_->Controls()[index].tmpl.id;
  if (id != dialog_->GetFocusId()) dialog_->UserFocus(id, false);
}

void NativeDialog::AfterUserEvent() {
  if (!dialog_ || !hwnd_) return;
  if (dialog_->HasEnded()) {
    if (modal_) ::EndDialog(hwnd_, dialog_->Result());
    return;
  }
  const ::HWND wanted = ControlWindow(dialog_->GetFocusId());
  if (wanted && ::GetFocus() != wanted) {
    const SyncScope scope(syncing_);
    ::SetFocus(wanted);
  }
}

bool NativeDialog::DeliverKey(const MSG& message) {
  if (!dialog_ || !hwnd_ || message.message != WM_KEYDOWN) return false;
  const std::optional<KeyMessage> key =
      TranslateKey(static_cast<unsigned>(message.wParam), ::GetKeyState(VK_SHIFT) < 0,
                   ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_MENU) < 0);
  if (!key) return false;
  const HandlerScope scope(handlerDepth_);
  TakeFocusFromWindow();
  dialog_->UserKey(*key);
  AfterUserEvent();
  return true;
}

void NativeDialog::SyncAll() {
  if (!dialog_ || !hwnd_) return;
  SyncCaption();
  for (std::size_t i = 0; i < controls_.size(); ++i) SyncIndex(i);
}

void NativeDialog::SyncCaption() {
  if (!dialog_ || !hwnd_) return;
  const std::string& caption = dialog_->GetWindowText();
  if (caption == caption_ && ::GetWindowTextLengthW(hwnd_) > 0) return;
  caption_ = caption;
  ::SetWindowTextW(hwnd_, Wide(caption).c_str());
}

void NativeDialog::SyncControl(int id) {
  if (!dialog_ || !hwnd_) return;
  const auto& controls = dialog_->Controls();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls[i].tmpl.id == id) SyncIndex(i);
  }
}

void NativeDialog::SyncProgress() {
  if (!dialog_ || !hwnd_) return;
  SyncCaption();
  const auto& controls = dialog_->Controls();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls[i].tmpl.kind == ControlKind::ProgressBar) SyncIndex(i);
  }
}

void NativeDialog::SetControlText(std::size_t index, const std::string& text) {
  const SyncScope scope(syncing_);
  ::SetWindowTextW(controls_[index], Wide(text).c_str());
  shown_[index].text = text;
  shown_[index].textKnown = true;
}

void NativeDialog::SyncIndex(std::size_t index) {
  const ::HWND control = controls_[index];
  if (!control) return;
  const ControlState& state = dialog_->Controls()[index];
  Shown& shown = shown_[index];
  const SyncScope scope(syncing_);
  if ((::IsWindowEnabled(control) != FALSE) != state.enabled)
    ::EnableWindow(control, state.enabled ? TRUE : FALSE);
  if (state.tmpl.kind == ControlKind::ProgressBar) {
    if (!shown.barKnown || shown.low != state.rangeLow || shown.high != state.rangeHigh) {
      ::SendMessageW(control, PBM_SETRANGE32, static_cast<WPARAM>(state.rangeLow), state.rangeHigh);
      shown.low = state.rangeLow;
      shown.high = state.rangeHigh;
      shown.barKnown = false;
    }
    if (!shown.barKnown || shown.pos != state.pos) {
      ::SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(state.pos), 0);
      shown.pos = state.pos;
    }
    shown.barKnown = true;
    return;
  }
  if (!shown.textKnown || shown.text != state.text) SetControlText(index, state.text);
  if (state.tmpl.kind == ControlKind::Edit) {
    // The limit in characters stops typing early; the model keeps its byte limit.
    ::SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(state.tmpl.maxLength), 0);
  }
  if (state.tmpl.kind == ControlKind::RadioButton || state.tmpl.kind == ControlKind::CheckBox) {
    const auto checked = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    if (checked != state.checked) ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(state.checked), 0);
  }
}

void NativeDialog::MoveFocus(int id) {
  if (!dialog_ || !hwnd_) return;
  const ::HWND control = ControlWindow(id);
  const ControlState* state = dialog_->Control(id);
  if (!control || !state) return;
  const SyncScope scope(syncing_);
  // WM_NEXTDLGCTL moves the default-button outline with the focus, as the dialog manager does.
  ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  if (state->tmpl.kind == ControlKind::Edit) {
    ::SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(Utf16Offset(state->text, state->selStart)),
                   Utf16Offset(state->text, state->selEnd));
  }
}

}  // namespace platform::win32ui

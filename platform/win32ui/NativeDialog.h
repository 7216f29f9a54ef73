// One program dialog as a real Win32 dialog window, created from its template in memory and
// mirroring the dialog's control model both ways. The user's edits, clicks, focus changes,
// keys (Enter, F12, Esc, Tab) and the close box go to the model; the model's changes come
// back through Sync*. Only the model decides what a key does and when the dialog ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

struct HWND__;
struct tagMSG;

namespace platform::win32ui {

using NativeHandle = HWND__*;

class NativeDialog {
 public:
  explicit NativeDialog(CDialog& dialog);
  ~NativeDialog();  // a modeless window goes with it
  NativeDialog(const NativeDialog&) = delete;
  NativeDialog& operator=(const NativeDialog&) = delete;

  // Shows the dialog modally (DialogBoxIndirectParamW) until the model has ended it; false
  // when Windows could not create the window.
  bool RunModal(NativeHandle owner);
  // Creates the modeless window (CreateDialogIndirectParamW), hidden unless the template
  // says visible; false when Windows could not create it.
  bool CreateModeless(NativeHandle parent);

  NativeHandle Handle() const { return hwnd_; }
  // True once the window is (or was) run modally.
  bool Modal() const { return modal_; }
  CDialog* Dialog() const { return dialog_; }
  // The dialog is going away: nothing reaches it any more.
  void Detach() { dialog_ = nullptr; }
  // True while one of this window's handlers runs the program's code.
  bool InHandler() const { return handlerDepth_ > 0; }
  // The window of the first control with this id; none when unknown.
  NativeHandle ControlWindow(int id) const;
  // True when the window is this dialog or one of its controls.
  bool Owns(NativeHandle window) const;

  void SyncAll();
  void SyncControl(int id);
  void SyncCaption();
  // The caption and the bars, which change without a report during the work.
  void SyncProgress();
  // The program moved the focus: the control gets it with the model's selection.
  void MoveFocus(int id);

  // A key-down from the dialog's modal loop: a dialog key goes to the model and is taken
  // (true); any other stays with the control.
  bool DeliverKey(const tagMSG& message);
  // The dialog procedure's work for one message; true when it was handled here.
  bool HandleMessage(NativeHandle hwnd, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

 private:
  struct Shown {
    std::string text;  // what the control shows, code page 932
    bool textKnown = false;
    int low = 0, high = 0, pos = 0;
    bool barKnown = false;
  };

  void Initialise(NativeHandle hwnd);
  void SyncIndex(std::size_t index);
  void SetControlText(std::size_t index, const std::string& text);
  void UserCommand(int id, unsigned code, NativeHandle control);
  void UserEdited(std::size_t index);
  // The control with the real focus, when the model has another one (a click on an edit).
  void TakeFocusFromWindow();
  // After a user event: the window follows the model's focus, and ends when the model has.
  void AfterUserEvent();
  std::size_t IndexOf(NativeHandle control) const;

  CDialog* dialog_;
  NativeHandle hwnd_ = nullptr;
  bool modal_ = false;
  std::vector<NativeHandle> controls_;  // parallel to the model's controls
  std::vector<Shown> shown_;
  std::string caption_;
  bool syncing_ = false;  // a change made here for the model, not by the user
  int handlerDepth_ = 0;
};

}  // namespace platform::win32ui

// CDialog: a dialog window over a control model. The program's dialogs derive from it and
// override its handlers; a UI backend shows the model and delivers the user's events.
// The program's own windows get handles from a counter and are found again by handle.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/ui/DialogTemplate.h"

namespace platform {

enum class Key { Enter, F12, Esc, Tab, Other };

struct KeyMessage {
  Key key = Key::Other;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The live state of one control.
struct ControlState {
  ControlTemplate tmpl;
  std::string text;
  bool enabled = true;
  int checked = 0;
  int selStart = 0, selEnd = 0;       // selection in bytes
  int rangeLow = 0, rangeHigh = 100;  // progress bars
  int pos = 0;
  int step = 10;
};

class CDialog {
 public:
  CDialog(const DialogTemplate& tmpl, HWND owner);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Modal: creates the window, runs OnInitDialog, then the backend's modal loop.
  int DoModal();
  // Modeless: creates the window hidden (or with its template's visibility) and runs OnInitDialog.
  bool Create(HWND parent);
  void ShowWindow(int command);
  void EndDialog(int result);
  void DestroyWindow();
  HWND GetSafeHwnd() const { return hwnd_; }
  HWND Owner() const { return owner_; }
  bool IsVisible() const { return visible_; }
  bool HasEnded() const { return ended_; }
  int Result() const { return result_; }
  const DialogTemplate& Template() const { return tmpl_; }

  void SetWindowText(const std::string& caption);
  const std::string& GetWindowText() const { return caption_; }

  std::string GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  void EnableDlgItem(int id, bool enable);
  bool IsDlgItemEnabled(int id) const;
  void CheckDlgButton(int id, int state);
  int IsDlgButtonChecked(int id) const;
  void LimitText(int id, int maxChars);
  // Gives the control the focus (a move made by the program).
  void SetFocusTo(int id);
  // Focus, select the whole text and scroll the caret into view.
  void SelectWholeText(int id);
  int GetFocusId() const { return focusId_; }
  // Repaint at once (UpdateWindow).
  void UpdateWindow();

  const std::vector<ControlState>& Controls() const { return controls_; }
  ControlState* Control(int id);
  const ControlState* Control(int id) const;

  // Window state changed through the window calls by handle (Window.h).
  void SetWindowEnabled(bool enable) { windowEnabled_ = enable; }
  bool IsWindowEnabled() const { return windowEnabled_; }
  void SetParentWindow(HWND parent);
  HWND ParentWindow() const { return parent_; }
  // True from DoModal until its loop has returned.
  bool IsModal() const { return modal_; }

  // The user's side, called by a UI backend. Each returns false when a real user could
  // not have done it (disabled or unknown control, wrong kind); nothing happens then.
  bool UserKey(const KeyMessage& key);  // key-down to the control with the focus
  bool UserClick(int id);               // button, radio or check box
  bool UserSetText(int id, const std::string& text);
  // byKeyboard: reached by an accelerator; an edit's whole text is selected then, as a click does not.
  bool UserFocus(int id, bool byKeyboard = false);
  bool UserClose();  // the window's close box

 protected:
  virtual bool OnInitDialog();
  virtual void DoDataExchange(bool saveAndValidate);
  // True when the key was taken; default processing follows otherwise.
  virtual bool PreTranslateMessage(const KeyMessage& key);
  // True when the command was handled.
  virtual bool OnCommand(int id);
  virtual void OnOK();      // default: EndDialog(IDOK)
  virtual void OnCancel();  // default: EndDialog(IDCANCEL)
  virtual void OnDestroy();
  bool UpdateData(bool saveAndValidate);

 private:
  void CreateWindowState();
  void DefaultKey(const KeyMessage& key);
  void Command(int id);  // OnCommand, else the default OK / cancel handlers
  void MoveFocusByTab(bool backwards);
  void CheckRadioInGroup(int id);
  void Unregister();

  DialogTemplate tmpl_;
  HWND owner_ = 0;
  HWND hwnd_ = 0;
  std::string caption_;
  std::vector<ControlState> controls_;
  int focusId_ = 0;
  bool visible_ = false;
  bool ended_ = false;
  bool modal_ = false;
  bool windowEnabled_ = true;
  HWND parent_ = 0;
  int result_ = 0;
};

// A progress-bar control of a dialog (CProgressCtrl). Changing it allocates nothing and
// reports nothing: the window shows it when the program repaints (UpdateWindow).
class CProgressCtrl {
 public:
  CProgressCtrl() = default;
  void Attach(CDialog* dialog, int id) { bar_ = dialog ? dialog->Control(id) : nullptr; }
  void SetRange32(int low, int high);
  void SetStep(int step);
  int SetPos(int pos);
  int OffsetPos(int delta);  // the relative-position message; the position stays within the range
  int StepIt();
  int GetPos() const;

 private:
  ControlState* bar_ = nullptr;  // a dialog's controls never move once it is constructed
};

// Finds the program's own window behind a handle; none for foreign handles.
CDialog* FindProgramWindow(HWND hwnd);

}  // namespace platform

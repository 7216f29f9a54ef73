// The seam between the dialog framework and a UI backend (scripted automation or Qt).
// The framework reports what the program does to its windows; the backend shows or
// records it and plays the user's side. Calls that happen per progress step must stay cheap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/WinTypes.h"
#include "platform/ui/FileDialog.h"

namespace platform {

class CDialog;

// A call on a host window (a handle that is not the program's own).
struct HostWindowCall {
  enum class Kind { Enable, Foreground, BringToTop, Parent, PostMessage } kind = Kind::Enable;
  HWND hwnd = 0;
  bool enable = false;            // Enable
  HWND child = 0;                 // Parent: the program window re-parented under hwnd
  std::intptr_t childWindow = 0;  // Parent: the system's own window of child (on Windows its
                                  // HWND), from the backend's window table; 0 when it has none
  std::uint32_t message = 0;      // PostMessage
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
  bool delivered = false;  // a host window was behind the handle
};

class UiBackend {
 public:
  virtual ~UiBackend() = default;

  // Runs the modal loop of a created and initialised dialog until it has ended.
  virtual void RunModal(CDialog& dialog) = 0;
  // A message box; returns IDOK, IDYES or IDNO.
  virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type) = 0;
  // The save-file dialog; Chosen with the chosen Windows-form path (code page 932).
  virtual SaveFileAnswer SaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) = 0;

  // True when a user sees the windows and boxes (a display); false under automation.
  virtual bool ShowsWindows() const { return false; }
  // The system's own window of a program dialog (on Windows its HWND), made now, hidden, when
  // the backend makes real windows and this modeless one has none yet; 0 when there is none
  // (no real windows, or a modal dialog outside its loop). The host re-parents this window.
  virtual std::intptr_t SystemWindow(CDialog&) { return 0; }

  // Reports from the framework (all optional).
  virtual void DialogInitialised(CDialog&) {}
  virtual void DialogEnded(CDialog&) {}
  virtual void WindowShown(CDialog&, bool) {}
  virtual void WindowDestroyed(CDialog&) {}
  virtual void CaptionChanged(CDialog&) {}
  virtual void ControlChanged(CDialog&, int) {}
  virtual void FocusMoved(CDialog&, int, bool) {}  // a move made by the program; whole text selected or not
  virtual void Repaint(CDialog&) {}                // UpdateWindow: must be cheap, called millions of times
  virtual void ZOrder(CDialog&, bool) {}           // to the top; true = foreground as well
  virtual void ParentChanged(CDialog&, HWND) {}
  virtual void WaitCursor(int) {}  // nesting depth after the change
  virtual void HostCall(const HostWindowCall&) {}
  virtual void RunEnded(int) {}  // the process's run status, at exit
  // A failure the program explains in one line (UTF-8, no line break), already on standard
  // error; the automation backend keeps it in the transcript.
  virtual void ErrorReported(const std::string&) {}
};

// The backend in use; a recording backend that answers every question "no" until one is set.
UiBackend& Ui();
void SetUi(std::unique_ptr<UiBackend> backend);

// Reports a failure in one line (UTF-8): on standard error and to the backend in use.
void ReportError(const std::string& line);

}  // namespace platform

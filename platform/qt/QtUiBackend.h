// The Qt backend object: one window per program dialog, the modal loop, message boxes,
// the save-file dialog, the wait cursor and the coalesced repaints of the progress window.
#pragma once

#include <memory>
#include <unordered_map>

#include "platform/qt/RepaintThrottle.h"
#include "platform/ui/UiBackend.h"

class QApplication;
class QTranslator;
class QWidget;

namespace platform::qt {

class DialogWindow;

class QtUiBackend : public UiBackend {
 public:
  // application: the application object this backend owns (none when it exists already).
  explicit QtUiBackend(std::unique_ptr<QApplication> application);
  ~QtUiBackend() override;

  bool ShowsWindows() const override { return true; }
  void RunModal(CDialog& dialog) override;
  int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type) override;
  SaveFileAnswer SaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) override;

  void DialogInitialised(CDialog& dialog) override;
  void WindowShown(CDialog& dialog, bool show) override;
  void WindowDestroyed(CDialog& dialog) override;
  void CaptionChanged(CDialog& dialog) override;
  void ControlChanged(CDialog& dialog, int id) override;
  void FocusMoved(CDialog& dialog, int id, bool selectAll) override;
  void Repaint(CDialog& dialog) override;
  void ZOrder(CDialog& dialog, bool foreground) override;
  void ParentChanged(CDialog& dialog, HWND parent) override;
  void WaitCursor(int depth) override;
  void RunEnded(int status) override;

  // The window of a program dialog; none before it is initialised or after it is destroyed.
  DialogWindow* WindowOf(const CDialog& dialog) const;
  // How many real repaints the throttle let through (for measurements).
  long RealRepaints() const { return realRepaints_; }

 private:
  DialogWindow* WindowOfHandle(HWND hwnd) const;
  DialogWindow* EnsureWindow(CDialog& dialog);
  void ReturnActivation(QWidget* owner);
  // Brings a window up to date from its model and repaints it now, past the throttle.
  void ShowModel(DialogWindow& window);
  // The same for every visible window: the run is about to wait.
  void ShowModels();

  std::unique_ptr<QApplication> application_;
  // Qt's own texts (box buttons, the file dialog) in Japanese, as the program's are.
  std::unique_ptr<QTranslator> translator_;
  std::unordered_map<const CDialog*, DialogWindow*> windows_;
  const CDialog* lastRepainted_ = nullptr;
  DialogWindow* lastRepaintedWindow_ = nullptr;
  RepaintThrottle throttle_;
  bool raisePending_ = false;
  int cursorDepth_ = 0;
  long realRepaints_ = 0;
};

}  // namespace platform::qt

// The Win32 backend object: one native dialog window per program dialog, the modal loop
// (DialogBoxIndirectParamW with a message filter that hands the dialog keys to the model),
// MessageBoxW, GetSaveFileNameW, the wait cursor and the coalesced repaints of the progress
// window, which is painted and kept in front without a message loop.
#pragma once

#include <chrono>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/ui/UiBackend.h"
#include "platform/win32ui/NativeDialog.h"

namespace platform::win32ui {

class Win32UiBackend : public UiBackend {
 public:
  Win32UiBackend();
  ~Win32UiBackend() override;
  Win32UiBackend(const Win32UiBackend&) = delete;
  Win32UiBackend& operator=(const Win32UiBackend&) = delete;

  bool ShowsWindows() const override { return true; }
  std::intptr_t SystemWindow(CDialog& dialog) override;
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

  // The native window of a program dialog; none before it is created or after it is gone.
  NativeDialog* WindowOf(const CDialog& dialog) const;
  // The program dialog whose window (or one of its controls) this is; none otherwise.
  NativeDialog* WindowOwning(NativeHandle window) const;
  // How many real repaints the throttle let through (for measurements).
  long RealRepaints() const { return realRepaints_; }

 private:
  NativeDialog& EnsureWindow(CDialog& dialog);
  // The real window behind a handle the program holds: its own window's, or the host's.
  NativeHandle RealWindow(HWND hwnd) const;
  // Paints a window now, with its controls, and answers the system that the program lives.
  void PaintNow(NativeDialog& window);
  bool RepaintDue();
  void ForgetRepainted(const CDialog& dialog);

  std::unordered_map<const CDialog*, std::unique_ptr<NativeDialog>> windows_;
  // Windows whose dialog went while one of their handlers still ran: removed later.
  std::vector<std::unique_ptr<NativeDialog>> retired_;
  const CDialog* lastRepainted_ = nullptr;
  NativeDialog* lastRepaintedWindow_ = nullptr;
  std::chrono::steady_clock::time_point nextRepaint_{};
  int skippedRepaints_ = 0;
  bool raisePending_ = false;
  bool foregroundPending_ = false;
  int cursorDepth_ = 0;
  long realRepaints_ = 0;
};

}  // namespace platform::win32ui

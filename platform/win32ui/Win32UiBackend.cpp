// The Win32 backend object.
#include "platform/win32ui/Win32UiBackend.h"

#include "platform/ui/Dialog.h"
#include "platform/win32ui/Win32FileDialog.h"
#include "platform/win32ui/Win32Text.h"

#include <windows.h>
// The common controls' declarations need windows.h first.
#include <commctrl.h>
// The backend's method of that name is ours; the wide function is called by its own name.
#undef MessageBox

namespace platform::win32ui {
namespace {

// A real repaint at most once per interval; the clock is read on every 16th request only,
// as the progress window asks millions of times on a big ledger.
constexpr auto kRepaintInterval = std::chrono::microseconds(16667);
constexpr int kSkippedRequests = 15;

// The backend whose modal dialogs the message filter serves (one UI thread).
Win32UiBackend* filterBackend = nullptr;
HHOOK filterHook = nullptr;
int filterDepth = 0;

// The dialog loop offers each message here before the dialog manager sees it: the keys the
// program's dialogs handle themselves go to their model, as the framework's own
// PreTranslateMessage does, and nothing else.
LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && filterBackend) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message->message == WM_KEYDOWN) {
      if (NativeDialog* window = filterBackend->WindowOwning(message->hwnd)) {
        if (window->DeliverKey(*message)) return 1;
      }
    }
  }
  return ::CallNextHookEx(filterHook, code, wParam, lParam);
}

class FilterScope {
 public:
  explicit FilterScope(Win32UiBackend& backend) {
    if (filterDepth++ == 0) {
      filterBackend = &backend;
      filterHook = ::SetWindowsHookExW(WH_MSGFILTER, MessageFilter, nullptr, ::GetCurrentThreadId());
    }
  }
  ~FilterScope() {
    if (--filterDepth == 0) {
      if (filterHook) ::UnhookWindowsHookEx(filterHook);
      filterHook = nullptr;
      filterBackend = nullptr;
    }
  }
  FilterScope(const FilterScope&) = delete;
  FilterScope& operator=(const FilterScope&) = delete;
};

}  // namespace

Win32UiBackend::Win32UiBackend() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
}

Win32UiBackend::~Win32UiBackend() {
  for (auto& [dialog, window] : windows_) window->Detach();
  windows_.clear();
  retired_.clear();
  if (cursorDepth_ > 0) ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

NativeDialog* Win32UiBackend::WindowOf(const CDialog& dialog) const {
  const auto found = windows_.find(&dialog);
  return found == windows_.end() ? nullptr : found->second.get();
}

NativeDialog* Win32UiBackend::WindowOwning(NativeHandle window) const {
  for (const auto& [dialog, native] : windows_) {
    if (native->Owns(window)) return native.get();
  }
  return nullptr;
}

NativeDialog& Win32UiBackend::EnsureWindow(CDialog& dialog) {
  auto& window = windows_[&dialog];
  if (!window) window = std::make_unique<NativeDialog>(dialog);
  return *window;
}

NativeHandle Win32UiBackend::RealWindow(HWND hwnd) const {
  if (hwnd == 0) return nullptr;
  if (const CDialog* dialog = FindProgramWindow(hwnd)) {
    const NativeDialog* window = WindowOf(*dialog);
    return window ? window->Handle() : nullptr;
  }
  // Any other handle is the host's own window, or none.
  const auto real = reinterpret_cast<::HWND>(hwnd);
  return ::IsWindow(real) ? real : nullptr;
}

std::intptr_t Win32UiBackend::SystemWindow(CDialog& dialog) {
  NativeDialog& window = EnsureWindow(dialog);
  // A modeless window is made before it is first shown when the system must act on it (put
  // under a host window); a modal one exists only inside its loop.
  if (!window.Handle() && !window.Modal() && !dialog.IsModal()) window.CreateModeless(nullptr);
  return reinterpret_cast<std::intptr_t>(window.Handle());
}

void Win32UiBackend::DialogInitialised(CDialog&) {
  retired_.clear();
  // A modal dialog's window is made by its modal loop, which follows at once; a modeless
  // one's when it is first shown, from the model as it is then, or before when the system
  // must act on it (SystemWindow).
  nextRepaint_ = {};
}

void Win32UiBackend::RunModal(CDialog& dialog) {
  NativeDialog& window = EnsureWindow(dialog);
  bool created = false;
  {
    const FilterScope filter(*this);
    created = window.RunModal(RealWindow(dialog.Owner()));
  }
  // Windows could not make the window: no user can answer it.
  if (!created && !dialog.HasEnded()) dialog.EndDialog(IDCANCEL);
  windows_.erase(&dialog);
  ForgetRepainted(dialog);
}

int Win32UiBackend::MessageBox(HWND owner, const std::string& text, const std::string& caption,
                               unsigned type) {
  // What stands behind the box is the model's state.
  for (auto& [dialog, window] : windows_) window->SyncProgress();
  const NativeHandle ownerWindow = RealWindow(owner);
  // Without an owner the box still keeps the program's windows from the user.
  const UINT modality = ownerWindow ? 0 : MB_TASKMODAL;
  const int answer = ::MessageBoxW(ownerWindow, Wide(text).c_str(), Wide(caption).c_str(), type | modality);
  if (cursorDepth_ > 0) ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  const bool yesNo = (type & MB_BUTTONMASK) == MB_YESNO;
  if (!yesNo) return IDOK;
  return answer == IDYES ? IDYES : IDNO;
}

SaveFileAnswer Win32UiBackend::SaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
  return win32ui::SaveFileDialog(request, RealWindow(request.owner), chosenPath);
}

void Win32UiBackend::WindowShown(CDialog& dialog, bool show) {
  NativeDialog& window = EnsureWindow(dialog);
  if (!window.Handle() && !window.Modal() && window.CreateModeless(nullptr) && dialog.ParentWindow() != 0) {
    ParentChanged(dialog, dialog.ParentWindow());
  }
  if (!window.Handle()) return;
  ::ShowWindow(window.Handle(), show ? SW_SHOW : SW_HIDE);
  if (show) {
    window.SyncAll();
    PaintNow(window);
    nextRepaint_ = {};
  }
}

void Win32UiBackend::WindowDestroyed(CDialog& dialog) {
  const auto found = windows_.find(&dialog);
  if (found == windows_.end()) return;
  std::unique_ptr<NativeDialog> window = std::move(found->second);
  windows_.erase(found);
  ForgetRepainted(dialog);
  window->Detach();
  if (window->InHandler()) {
    if (window->Handle()) ::ShowWindow(window->Handle(), SW_HIDE);
    retired_.push_back(std::move(window));
  }
}

void Win32UiBackend::CaptionChanged(CDialog& dialog) {
  // The progress caption changes on whole per cents only: each change shows the bars with
  // it at once, so that the caption never runs ahead of the bar between throttled repaints.
  if (NativeDialog* window = WindowOf(dialog)) {
    window->SyncProgress();
    PaintNow(*window);
  }
}

void Win32UiBackend::ControlChanged(CDialog& dialog, int id) {
  if (NativeDialog* window = WindowOf(dialog)) window->SyncControl(id);
}

void Win32UiBackend::FocusMoved(CDialog& dialog, int id, bool) {
  if (NativeDialog* window = WindowOf(dialog)) window->MoveFocus(id);
}

void Win32UiBackend::ForgetRepainted(const CDialog& dialog) {
  if (lastRepainted_ != &dialog) return;
  lastRepainted_ = nullptr;
  lastRepaintedWindow_ = nullptr;
}

bool Win32UiBackend::RepaintDue() {
  if (skippedRepaints_ > 0) {
    --skippedRepaints_;
    return false;
  }
  skippedRepaints_ = kSkippedRequests;
  const auto now = std::chrono::steady_clock::now();
  if (now < nextRepaint_) return false;
  nextRepaint_ = now + kRepaintInterval;
  return true;
}

void Win32UiBackend::Repaint(CDialog& dialog) {
  if (!RepaintDue()) return;
  if (&dialog != lastRepainted_) {
    lastRepainted_ = &dialog;
    lastRepaintedWindow_ = WindowOf(dialog);
  }
  NativeDialog* window = lastRepaintedWindow_;
  if (!window || !window->Handle()) return;
  ++realRepaints_;
  window->SyncProgress();
  if (raisePending_) {
    // The program keeps its window in front on every step; the system is asked once per
    // real repaint.
    ::SetWindowPos(window->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (foregroundPending_ && ::GetForegroundWindow() != window->Handle())
      ::SetForegroundWindow(window->Handle());
    raisePending_ = false;
    foregroundPending_ = false;
  }
  PaintNow(*window);
}

void Win32UiBackend::PaintNow(NativeDialog& window) {
  if (!window.Handle() || !::IsWindowVisible(window.Handle())) return;
  ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  // No messages are dispatched during the work; looking at the queue is what tells the
  // system that the program still answers, so that it does not replace the window with a
  // "not responding" ghost.
  MSG message;
  ::PeekMessageW(&message, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE | PM_NOYIELD);
}

void Win32UiBackend::ZOrder(CDialog&, bool foreground) {
  // Called on every progress step: remembered, acted on at the next real repaint.
  raisePending_ = true;
  foregroundPending_ = foregroundPending_ || foreground;
}

void Win32UiBackend::ParentChanged(CDialog& dialog, HWND parent) {
  // Under a host window the host call has put the window already, and reported how it went.
  if (parent != 0 && !FindProgramWindow(parent)) return;
  NativeDialog* window = WindowOf(dialog);
  if (!window || !window->Handle()) return;
  ::SetParent(window->Handle(), RealWindow(parent));
}

void Win32UiBackend::WaitCursor(int depth) {
  cursorDepth_ = depth;
  // No message loop runs during the work, so nothing sets the cursor back meanwhile.
  ::SetCursor(::LoadCursorA(nullptr, depth > 0 ? IDC_WAIT : IDC_ARROW));
}

void Win32UiBackend::RunEnded(int) {
  // The last state stays on the screen for as long as the process takes to end.
  for (auto& [dialog, window] : windows_) {
    window->SyncProgress();
    PaintNow(*window);
  }
}

}  // namespace platform::win32ui

// The progress window over template 131. A general ledger steps through millions of
// pulses, so a step allocates nothing and formats the caption only on whole per cents.
#include "runstate/ProgressWindow.h"

#include <cstdio>

#include "platform/Cp932.h"
#include "platform/ui/Window.h"

namespace {

constexpr int kMainBarMax = 10000;
constexpr int kPositionsPerCent = 100;
constexpr int kActivityMax = 5;
constexpr int kActivityMoves = 6;

platform::DialogTemplate MakeTemplate() {
  using namespace platform;
  DialogTemplate t;
  t.id = kProgressTemplateId;
  t.caption = SJ("集計中");
  t.width = 221;
  t.height = 45;
  t.fontName = SJ("ＭＳ Ｐゴシック");
  t.fontPoints = 9;
  t.style = DialogPopup | DialogCaption | DialogModalFrame | DialogSystemModal;
  // The main bar fills smoothly; the activity bar keeps the segmented default.
  t.controls = {
      ControlTemplate{kProgressMainBarId, ControlKind::ProgressBar, {}, 5, 6, 211, 22, StyleSmooth, 0},
      ControlTemplate{kProgressActivityBarId, ControlKind::ProgressBar, {}, 5, 29, 211, 10, 0, 0},
  };
  return t;
}

}  // namespace

const platform::DialogTemplate& ProgressWindow::Template131() {
  static const platform::DialogTemplate tmpl = MakeTemplate();
  return tmpl;
}

ProgressWindow::ProgressWindow() : platform::CDialog(Template131(), 0) {
  activityBar_.Attach(this, kProgressActivityBarId);
  mainBar_.Attach(this, kProgressMainBarId);
}

bool ProgressWindow::Create() { return platform::CDialog::Create(0); }

void ProgressWindow::InitMainBar() {
  mainBar_.SetRange32(0, kMainBarMax);
  mainBar_.SetStep(1);
  mainBar_.SetPos(0);
}

void ProgressWindow::StepRange(int16_t first, int16_t last) {
  const std::string& format = SJ("集計中 %d％");
  for (int i = first; i <= last; ++i) {
    if (i % kPositionsPerCent == 0) {
      char caption[64] = {};
      std::snprintf(caption, sizeof caption, format.c_str(), i / kPositionsPerCent);
      SetWindowText(caption);
    }
    mainBar_.OffsetPos(static_cast<int>(stepAmount_));
    Pulse();
    platform::UpdateWindow(GetSafeHwnd());
  }
}

void ProgressWindow::Pulse() {
  activityBar_.SetRange32(0, kActivityMax);
  activityBar_.SetStep(1);
  activityBar_.SetPos(0);
  const platform::HWND self = GetSafeHwnd();
  for (int move = 0; move < kActivityMoves; ++move) {
    // Not StepIt: the bar must stay full after the sixth move instead of wrapping.
    activityBar_.OffsetPos(1);
    platform::BringWindowToTop(self);
    platform::SetForegroundWindow(self);
    platform::UpdateWindow(self);
  }
}

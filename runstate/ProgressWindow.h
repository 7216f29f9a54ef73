// The modeless progress window: a main bar of positions 0 to 10000 with the percentage in
// the caption, and an activity bar that runs through once per step. No message loop runs
// during the work; every step repaints the window and keeps it in front.
#pragma once

#include <cstdint>

#include "platform/ui/Dialog.h"

inline constexpr int kProgressTemplateId = 131;
inline constexpr int kProgressMainBarId = 1016;
inline constexpr int kProgressActivityBarId = 1017;

class ProgressWindow : public platform::CDialog {
 public:
  ProgressWindow();
  // Creates the window from its template, hidden, without a parent.
  bool Create();
  // Main bar range 0 to 10000, step 1, position 0.
  void InitMainBar();
  // One step for every position from first to last inclusive; nothing when first > last.
  void StepRange(int16_t first, int16_t last);
  // One run of the activity bar.
  void Pulse();

  int MainPos() const { return mainBar_.GetPos(); }
  int ActivityPos() const { return activityBar_.GetPos(); }

  // The window's template (131): caption, size, font, style and the two bars.
  static const platform::DialogTemplate& Template131();

 private:
  platform::CProgressCtrl activityBar_;
  platform::CProgressCtrl mainBar_;
  double stepAmount_ = 1.0;
};

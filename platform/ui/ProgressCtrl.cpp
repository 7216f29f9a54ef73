// CProgressCtrl: a progress bar of a dialog's control model. Called once per progress step
// and six times per activity pulse, so it only touches the control's integers.
#include "platform/ui/Dialog.h"

namespace platform {
namespace {

// Positions are summed in 64 bits so that no offset or step can overflow before the clamp.
int Clamp(const ControlState& bar, long long pos) {
  if (pos < bar.rangeLow) return bar.rangeLow;
  if (pos > bar.rangeHigh) return bar.rangeHigh;
  return static_cast<int>(pos);
}

}  // namespace

void CProgressCtrl::SetRange32(int low, int high) {
  ControlState* bar = bar_;
  if (!bar) return;
  bar->rangeLow = low;
  bar->rangeHigh = high;
  bar->pos = Clamp(*bar, bar->pos);
}

void CProgressCtrl::SetStep(int step) {
  if (bar_) bar_->step = step;
}

int CProgressCtrl::SetPos(int pos) {
  ControlState* bar = bar_;
  if (!bar) return 0;
  const int previous = bar->pos;
  bar->pos = Clamp(*bar, pos);
  return previous;
}

int CProgressCtrl::OffsetPos(int delta) {
  ControlState* bar = bar_;
  if (!bar) return 0;
  const int previous = bar->pos;
  bar->pos = Clamp(*bar, static_cast<long long>(previous) + delta);
  return previous;
}

int CProgressCtrl::StepIt() {
  ControlState* bar = bar_;
  if (!bar) return 0;
  const int previous = bar->pos;
  // A bar stepped past its end starts again from the low end, as the control does.
  const long long next = static_cast<long long>(previous) + bar->step;
  bar->pos = next > bar->rangeHigh ? Clamp(*bar, bar->rangeLow + (next - bar->rangeHigh)) : Clamp(*bar, next);
  return previous;
}

int CProgressCtrl::GetPos() const {
  const ControlState* bar = bar_;
  return bar ? bar->pos : 0;
}

}  // namespace platform

// Coalesces the program's repaint requests: the progress window asks for a repaint on every
// step (millions on a big ledger); a real repaint happens at most once per interval. One
// monotonic clock read per request, nothing else.
#pragma once

#include <chrono>

namespace platform::qt {

class RepaintThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  explicit RepaintThrottle(Clock::duration interval = std::chrono::microseconds(16667))
      : interval_(interval) {}

  // True when a real repaint is due now; the next one is then due one interval later.
  bool Due() {
    if (skip_ > 0) {
      --skip_;
      return false;
    }
    skip_ = kSkippedRequests;
    return DueAt(Clock::now());
  }
  bool DueAt(Clock::time_point now) {
    if (now < next_) return false;
    next_ = now + interval_;
    return true;
  }
  // The next request repaints at once (a window was just shown).
  void Reset() {
    next_ = Clock::time_point::min();
    skip_ = 0;
  }

 private:
  static constexpr int kSkippedRequests = 15;
  int skip_ = 0;
  Clock::duration interval_;
  Clock::time_point next_ = Clock::time_point::min();
};

}  // namespace platform::qt

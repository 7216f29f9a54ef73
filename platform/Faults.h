// Fault-injection seams: named points in the platform and the runtime that a test can make
// fail on demand, so every failure path is reachable without patching the code under test.
// A fault set is a comma-separated list of POINT[@DETAIL][#N]; it comes from Set() or, once
// at first use, from the environment variable VELMORA_FAULTS. Points are listed in
// docs/testing.md.
#pragma once

#include <atomic>
#include <string_view>

namespace platform::faults {

namespace detail {
// 0: the environment not read yet, 1: no fault configured, 2: some fault configured.
extern std::atomic<int> configured;
bool HitConfigured(std::string_view point, std::string_view detail);
}  // namespace detail

// Replaces the active fault set (resetting every hit counter).
void Set(std::string_view faultSet);
// Removes every fault; the environment is not read again afterwards.
void Clear();
// False when no fault is configured, so that a point whose detail costs something to
// build can skip building it: `Armed() && Hit(point, expensiveDetail())`.
inline bool Armed() { return detail::configured.load(std::memory_order_relaxed) != 1; }

// True when a fault of the active set fires for this point: the point name matches exactly,
// DETAIL (when given) is a substring of detail, and this is at least the N-th matching hit.
// Without a configured fault this is one load of a flag: no lock, no call.
inline bool Hit(std::string_view point, std::string_view detail = {}) {
  return Armed() && detail::HitConfigured(point, detail);
}

}  // namespace platform::faults

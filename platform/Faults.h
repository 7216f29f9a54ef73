// Fault-injection seams: named points in the platform and the runtime that a test can make
// fail on demand, so every failure path is reachable without patching the code under test.
// A fault set is a comma-separated list of POINT[@DETAIL][#N]; it comes from Set() or, once
// at first use, from the environment variable VELMORA_FAULTS. Points are listed in
// docs/testing.md.
#pragma once

#include <string_view>

namespace platform::faults {

// Replaces the active fault set (resetting every hit counter).
void Set(std::string_view faultSet);
// Removes every fault; the environment is not read again afterwards.
void Clear();
// True when a fault of the active set fires for this point: the point name matches exactly,
// DETAIL (when given) is a substring of detail, and this is at least the N-th matching hit.
bool Hit(std::string_view point, std::string_view detail = {});

}  // namespace platform::faults

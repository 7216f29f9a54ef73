// The active fault set and its hit counters, guarded by one mutex because the runtime may
// ask from a worker thread. A flag beside it tells the inline check in Faults.h whether any
// fault is configured at all, so the seams cost nothing in a normal run.
#include "platform/Faults.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace platform::faults {

namespace {

struct Fault {
  std::string point;
  std::string detail;      // empty: any detail
  unsigned long from = 1;  // fires from this matching hit on (1-based)
  unsigned long hits = 0;  // matching hits seen so far
};

struct State {
  std::mutex mutex;
  bool loaded = false;
  std::vector<Fault> faults;
};

State& GetState() {
  static State state;
  return state;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// One entry POINT[@DETAIL][#N]. Only digits after the last "#" make a count, so a "#" inside
// a detail (a file name) stays part of it; an entry without a point, or with the count 0, is
// ignored rather than silently turned into "fire always".
bool ParseEntry(std::string_view entry, Fault& fault) {
  entry = TrimBlanks(entry);
  std::size_t hash = entry.rfind('#');
  if (hash != std::string_view::npos && hash + 1 < entry.size() &&
      entry.find_first_not_of("0123456789", hash + 1) == std::string_view::npos) {
    std::string count(entry.substr(hash + 1));
    fault.from = std::strtoul(count.c_str(), nullptr, 10);
    if (fault.from == 0) return false;
    entry = entry.substr(0, hash);
  }
  std::size_t at = entry.find('@');
  if (at != std::string_view::npos) {
    fault.detail = std::string(entry.substr(at + 1));
    entry = entry.substr(0, at);
  }
  fault.point = std::string(entry);
  return !fault.point.empty();
}

std::vector<Fault> Parse(std::string_view faultSet) {
  std::vector<Fault> faults;
  while (!faultSet.empty()) {
    std::size_t comma = faultSet.find(',');
    std::string_view entry = faultSet.substr(0, comma);
    Fault fault;
    if (ParseEntry(entry, fault)) faults.push_back(std::move(fault));
    if (comma == std::string_view::npos) break;
    faultSet.remove_prefix(comma + 1);
  }
  return faults;
}

void Publish(const State& state) {
  detail::configured.store(state.faults.empty() ? 1 : 2, std::memory_order_relaxed);
}

void LoadEnvironmentOnce(State& state) {
  if (state.loaded) return;
  state.loaded = true;
  if (const char* env = std::getenv("VELMORA_FAULTS")) state.faults = Parse(env);
  Publish(state);
}

}  // namespace

std::atomic<int> detail::configured{0};

void Set(std::string_view faultSet) {
  State& state = GetState();
  std::lock_guard lock(state.mutex);
  state.loaded = true;
  state.faults = Parse(faultSet);
  Publish(state);
}

void Clear() { Set({}); }

bool detail::HitConfigured(std::string_view point, std::string_view detail) {
  State& state = GetState();
  std::lock_guard lock(state.mutex);
  LoadEnvironmentOnce(state);
  bool fires = false;
  for (Fault& fault : state.faults) {
    if (fault.point != point) continue;
    if (!fault.detail.empty() && detail.find(fault.detail) == std::string_view::npos) continue;
    ++fault.hits;
    if (fault.hits >= fault.from) fires = true;
  }
  return fires;
}

}  // namespace platform::faults

// How a new store takes the place of the old one so that a load killed at any moment leaves
// the old store or the new one, each agreeing with its seal: the seal first accepts both
// (written before the store is renamed), then the store is renamed over the old one, then
// the seal accepts only the new store. Every file is new (created exclusively, never through
// a link) and durable before it is renamed. The next load removes what a killed one left.
// The load's kill points are fault seams ("LoadCrash", detail the step): a firing one ends
// the process at once, as a kill would, so that tests reach every step of a crash.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orbeck::store {

// The exit code of a process ended at a kill point (what a shell shows for a SIGKILL).
inline constexpr int kLoadCrashExitCode = 137;

// Ends the process at once when the kill point `step` is armed.
void LoadCrashPoint(std::string_view step);

// The temporary store of this process beside `storePath`: "orbeck.db.tmp-PID".
std::filesystem::path TemporaryStorePath(const std::filesystem::path& storePath);

// Removes the temporary stores and seals that dead loads left in the store's folder and
// narrows a seal that still accepts two stores to the one in place. Only under the home's
// lock, which no dead load holds.
void TidyHome(const std::filesystem::path& storePath);

// Puts the complete and synced `temp` in place of `storePath`, with its seal. False with a
// message when the old store is still in place (the caller removes `temp`).
bool ReplaceStore(const std::filesystem::path& temp, const std::filesystem::path& storePath,
                  std::string& error);

}  // namespace orbeck::store

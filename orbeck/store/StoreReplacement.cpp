// The replacement of a store and the tidying after a killed load.
#include "orbeck/store/StoreReplacement.h"

#include <unistd.h>
#ifdef _WIN32
#include <process.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "orbeck/StoreSeal.h"
#include "platform/Faults.h"

namespace orbeck::store {
namespace {

// A load's own files beside the store are named for it and its process: the store and
// the seal being written.
constexpr std::string_view kTemporary = ".tmp-";

int ProcessId() {
#ifdef _WIN32
  return ::_getpid();
#else
  return static_cast<int>(::getpid());
#endif
}

std::filesystem::path TemporarySealPath(const std::filesystem::path& storePath) {
  std::filesystem::path seal = SealPathOf(storePath);
  seal += std::string(kTemporary) + std::to_string(ProcessId());
  return seal;
}

// Writes the seal of `storePath` as `lines` through a new file renamed over it; the kill
// point `written` lies between the two.
bool PutSeal(const std::filesystem::path& storePath, const std::string& lines, std::string_view written,
             std::string& error) {
  const std::filesystem::path temp = TemporarySealPath(storePath);
  if (!WriteNewFile(temp, lines, error)) return false;
  LoadCrashPoint(written);
  std::error_code ec;
  std::filesystem::rename(temp, SealPathOf(storePath), ec);
  if (ec || !SyncFolder(storePath.parent_path())) {
    error = SealPathOf(storePath).string() + ": " + (ec ? ec.message() : "cannot be made durable");
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace

void LoadCrashPoint(std::string_view step) {
  if (platform::faults::Hit("LoadCrash", step)) std::_Exit(kLoadCrashExitCode);
}

std::filesystem::path TemporaryStorePath(const std::filesystem::path& storePath) {
  std::filesystem::path temp = storePath;
  temp += std::string(kTemporary) + std::to_string(ProcessId());
  return temp;
}

void TidyHome(const std::filesystem::path& storePath) {
  const std::string temporaryStore = storePath.filename().string() + std::string(kTemporary);
  const std::string temporarySeal = SealPathOf(storePath).filename().string() + std::string(kTemporary);
  std::error_code ec;
  std::vector<std::filesystem::path> leftovers;
  for (const auto& entry : std::filesystem::directory_iterator(storePath.parent_path(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(temporaryStore) || name.starts_with(temporarySeal))
      leftovers.push_back(entry.path());
  }
  // A link among them goes itself; what it points to stays.
  for (const std::filesystem::path& leftover : leftovers) std::filesystem::remove(leftover, ec);

  // A seal without its store is what a first load killed before its rename left.
  if (!std::filesystem::exists(storePath, ec) && !ec) {
    std::filesystem::remove(SealPathOf(storePath), ec);
    return;
  }
  const std::optional<std::vector<std::string>> lines = SealLines(SealPathOf(storePath));
  if (!lines || lines->size() < 2) return;
  const std::optional<std::string> actual = SealLineOf(storePath);
  if (!actual || std::find(lines->begin(), lines->end(), *actual) == lines->end()) return;
  std::string error;
  PutSeal(storePath, *actual, "tidy-seal-written", error);  // unnarrowed, the seal still accepts the store
}

bool ReplaceStore(const std::filesystem::path& temp, const std::filesystem::path& storePath,
                  std::string& error) {
  const std::optional<std::string> line = SealLineOf(temp);
  if (!line) {
    error = temp.string() + ": cannot be read for its seal";
    return false;
  }
  LoadCrashPoint("store-written");
  std::string both;
  std::error_code ec;
  if (std::filesystem::exists(storePath, ec)) {
    const std::optional<std::vector<std::string>> old = SealLines(SealPathOf(storePath));
    for (const std::string& oldLine : old.value_or(std::vector<std::string>{})) both += oldLine;
  }
  if (!PutSeal(storePath, both + *line, "both-seal-written", error)) return false;
  LoadCrashPoint("both-sealed");
  std::filesystem::rename(temp, storePath, ec);
  if (ec) {
    error = storePath.string() + ": " + ec.message();
    return false;
  }
  LoadCrashPoint("store-renamed");
  // The new store is in place and sealed; a seal left accepting the old one too is
  // narrowed by the next load.
  std::string narrowing;
  PutSeal(storePath, *line, "new-seal-written", narrowing);
  LoadCrashPoint("loaded");
  return true;
}

}  // namespace orbeck::store

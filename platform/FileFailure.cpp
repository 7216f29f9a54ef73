// The record of the last file call that failed, and the words for a path the drive map does
// not let the program change.
#include <mutex>

#include "platform/Cp932.h"
#include "platform/DriveMap.h"
#include "platform/SystemFiles.h"
#include "platform/WinFs.h"
#include "platform/WinFsResolve.h"
#include "platform/WinTypes.h"

namespace platform::win {

namespace {

std::mutex& FailureMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& Failure() {
  static std::string failure;
  return failure;
}

std::string Utf8(const std::string& cp932Text) {
  cp932::Conversion utf8 = cp932::ToUtf8(cp932Text);
  return utf8.ok ? utf8.text : cp932Text;
}

}  // namespace

std::string LastFileFailure() {
  std::lock_guard lock(FailureMutex());
  return Failure();
}

void ClearFileFailure() {
  std::lock_guard lock(FailureMutex());
  Failure().clear();
}

namespace detail {

std::string SystemErrorText() { return platform::detail::LastSystemError(); }

void NoteFileFailure(std::string reason) {
  std::lock_guard lock(FailureMutex());
  Failure() = std::move(reason);
}

std::string UnreachableReason(const std::string& windowsPath) {
  if (std::optional<ResolvedPath> resolved = Resolve(windowsPath)) {
    return resolved->readOnly ? "its drive is a CD-ROM drive, which refuses every write" : std::string();
  }
  if (windowsPath.find('/') != std::string::npos) return "\"/\" is not allowed in a Windows path";
  std::shared_ptr<const DriveMap> map = DriveMap::Current();
  const std::string mapName = map->File().empty() ? std::string("the drive map")
                                                  : "the drive map " + map->File() + " (VELMORA_DRIVES)";
  if (windowsPath.size() >= 2 && windowsPath[0] == '\\' && windowsPath[1] == '\\') {
    return "its share is not in " + mapName;
  }
  if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
    const std::string drive = windowsPath.substr(0, 2);
    const DriveEntry& entry = map->Drive(windowsPath[0]);
    if (!entry.present) return "drive " + drive + " is not in " + mapName;
    if (entry.folder.empty()) return "drive " + drive + " has no folder behind it in " + mapName;
    return "a part of it has no name on the disk";
  }
  return "the current folder " + Utf8(_getcwd()) + " is on no drive";
}

}  // namespace detail

}  // namespace platform::win

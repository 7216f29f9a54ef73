// The host's folders in Windows form. A stored folder without a drive or share root lies
// under the host installation folder and is served through the drive map.
#include "runtime/Managers.h"

#include <optional>

#include "orbeck/HostStore.h"
#include "platform/WinFs.h"

namespace {

bool HasRoot(const std::string& path) {
  bool drive = path.size() >= 2 && path[1] == ':' &&
               ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive || path.rfind("\\\\", 0) == 0;
}

}  // namespace

ClFileMgr& ClFileMgr::Inst() {
  static ClFileMgr manager;
  return manager;
}

std::string ClFileMgr::GetAppFolderPath(long kind) {
  auto& store = orbeck::HostStore::Session();
  orbeck::StatementUse query = store.Prepare("SELECT path FROM folders WHERE kind = ?1");
  if (query == nullptr) return {};
  query->Bind(1, static_cast<std::int64_t>(kind));
  if (!query->Step()) return {};
  std::string folder(query->Blob(0));
  if (folder.empty()) return {};
  if (!HasRoot(folder)) {
    std::optional<std::string> home = platform::win::ToWindowsPath(store.Home());
    if (!home) return {};
    std::string joined = *home;
    if (!platform::win::EndsWithSeparator(joined)) joined += '\\';
    std::size_t skip = folder.front() == '\\' ? 1 : 0;
    folder = joined + folder.substr(skip);
  }
  if (!platform::win::EndsWithSeparator(folder)) folder += '\\';
  return folder;
}

// The connection to the host installation: attaching opens $ORBECK_HOME/orbeck.db
// read-only; the package name behind "ES_APRPACKAGENAME" comes from the store.
#include "runtime/Connect.h"

#include <cstdlib>

#include "orbeck/HostStore.h"
#include "orbeck/RuntimeCallLog.h"
#include "orbeck/RuntimeStatus.h"
#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/ui/Window.h"

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("ORBECK_HOME"); home != nullptr && *home != '\0') return home;
  if (const char* user = std::getenv("HOME"); user != nullptr && *user != '\0')
    return std::string(user) + "/.local/share/orbeck";
  return {};
}

}  // namespace

ClAccConnect& ClAccConnect::Inst() {
  static ClAccConnect connect;
  return connect;
}

long ClAccConnect::SetAppType(long appType) {
  appType_ = appType;
  return 0;
}

long ClAccConnect::SetUseDataType(long useDataType) {
  useDataType_ = useDataType;
  return 0;
}

std::string ClAccConnect::HomeFolder() const { return ::HomeFolder(); }

long ClAccConnect::Initiate() {
  orbeck::RecordCall("Initiate");
  if (platform::faults::Hit("Initiate")) return orbeck::kStoreError;
  long status = orbeck::HostStore::Session().Open(HomeFolder());
  attached_ = status == 0;
  return status;
}

long ClAccConnect::ExpSysLink() {
  orbeck::RecordCall("ExpSysLink");
  auto& store = orbeck::HostStore::Session();
  if (!store.IsOpen()) return orbeck::kNotAttached;
  std::optional<std::string> value = store.Meta("exp_sys_link");
  if (!value) return 0;
  return std::strtol(value->c_str(), nullptr, 10);
}

int ClAccConnect::DispMsg(platform::HWND owner, const std::string& text, const std::string& boxCaption,
                          unsigned flags) {
  orbeck::RecordCall("DispMsg");
  static const std::string kToken = "ES_APRPACKAGENAME";
  std::string packageName = orbeck::HostStore::Session().Meta("package_name").value_or(SJ("Orbeck２１"));
  std::string shown;
  std::size_t from = 0;
  for (std::size_t at = text.find(kToken); at != std::string::npos; at = text.find(kToken, from)) {
    shown.append(text, from, at - from);
    shown += packageName;
    from = at + kToken.size();
  }
  shown.append(text, from, std::string::npos);
  return platform::MessageBoxA(owner, shown, boxCaption, flags);
}

long ClAccConnect::LogOut() {
  orbeck::RecordCall("LogOut");
  return 0;
}

long ClAccConnect::Terminate() {
  orbeck::RecordCall("Terminate");
  orbeck::HostStore::Session().Close();
  attached_ = false;
  return 0;
}

long ClAccConnect::Release() {
  orbeck::RecordCall("Release");
  orbeck::HostStore::Session().Close();
  caption.clear();
  ownerWindow = 0;
  appType_ = 0;
  useDataType_ = 0;
  attached_ = false;
  ClMsgMgr::Inst().SetLastError(0, {});
  ClMsgMgr::Inst().ClearReadFailure();
  return 0;
}

// Registration of the Qt backend with the start-up, and the display check that lets the
// start-up print its message instead of Qt aborting without a display. A display named by
// the environment counts only when it answers: Qt aborts the process on one that does not.
#include "platform/qt/QtBackend.h"

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <string_view>
#include <thread>

#include <xcb/xcb.h>

#include <QApplication>

#include "platform/qt/QtUiBackend.h"
#include "platform/ui/Startup.h"

namespace platform::qt {
namespace {

// A display server that accepts the connection but never answers must not hang the start.
constexpr auto kDisplayAnswerTimeout = std::chrono::seconds(5);

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

// True when the X server named by DISPLAY completes the connection set-up in time.
bool XDisplayAnswers() {
  const char* display = NonEmptyEnv("DISPLAY");
  if (!display) return false;
  std::promise<bool> answered;
  std::future<bool> answer = answered.get_future();
  // Detached: when the server never answers, the thread is left waiting and the process
  // ends with exit code 2 around it.
  std::thread([name = std::string(display), promise = std::move(answered)]() mutable {
    xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    promise.set_value(ok);
  }).detach();
  return answer.wait_for(kDisplayAnswerTimeout) == std::future_status::ready && answer.get();
}

// True when the Wayland compositor's socket accepts a connection.
bool WaylandDisplayAnswers() {
  const char* display = NonEmptyEnv("WAYLAND_DISPLAY");
  if (!display) return false;
  std::string path = display;
  if (path.front() != '/') {
    const char* runtime = NonEmptyEnv("XDG_RUNTIME_DIR");
    if (!runtime) return false;
    path = std::string(runtime) + "/" + path;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

// Without XDG_RUNTIME_DIR (a session started without a login manager, su, a container) Qt
// warns on every start and falls back to a folder of its own, /tmp/runtime-<user>. The same
// folder is named here beforehand, made as Qt would make it, so the warning never appears;
// a folder that is not the user's own with mode 0700 is left for Qt to report.
void ProvideRuntimeDirectory() {
  if (NonEmptyEnv("XDG_RUNTIME_DIR")) return;
  const char* temp = NonEmptyEnv("TMPDIR");
  std::string user = std::to_string(::getuid());
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name)
    user = entry->pw_name;
  const std::string folder = std::string(temp ? temp : "/tmp") + "/runtime-" + user;
  ::mkdir(folder.c_str(), 0700);
  struct stat status {};
  if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::getuid() ||
      (status.st_mode & 0777) != 0700) {
    return;
  }
  ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace

bool DisplayAvailable() {
  const char* platformName = std::getenv("QT_QPA_PLATFORM");
  const std::string_view chosen = platformName ? platformName : "";
  if (chosen.starts_with("offscreen") || chosen.starts_with("minimal") || chosen.starts_with("vnc"))
    return true;
  if (chosen.starts_with("xcb")) return XDisplayAnswers();
  if (chosen.starts_with("wayland")) {
    // "wayland;xcb" falls back to X when the compositor is not there.
    return WaylandDisplayAnswers() || (chosen.find("xcb") != std::string_view::npos && XDisplayAnswers());
  }
  if (!chosen.empty()) return true;
  return XDisplayAnswers() || WaylandDisplayAnswers();
}

std::unique_ptr<UiBackend> CreateGuiBackend(int& argc, char** argv) {
  if (QApplication::instance()) return std::make_unique<QtUiBackend>(nullptr);
  if (!DisplayAvailable()) return nullptr;
  ProvideRuntimeDirectory();
  auto application = std::make_unique<QApplication>(argc, argv);
  return std::make_unique<QtUiBackend>(std::move(application));
}

void RegisterGuiBackend() { SetGuiBackendFactory(&CreateGuiBackend); }

}  // namespace platform::qt

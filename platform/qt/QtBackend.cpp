// Registration of the Qt backend with the start-up, and the display check that lets the
// start-up print its message instead of Qt aborting without a display.
#include "platform/qt/QtBackend.h"

#include <cstdlib>
#include <string_view>

#include <QApplication>

#include "platform/qt/QtUiBackend.h"
#include "platform/script/Startup.h"

namespace platform::qt {
namespace {

bool EnvSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool DisplayAvailable() {
  const char* platformName = std::getenv("QT_QPA_PLATFORM");
  const std::string_view chosen = platformName ? platformName : "";
  if (chosen.starts_with("offscreen") || chosen.starts_with("minimal") || chosen.starts_with("vnc"))
    return true;
  if (chosen.starts_with("xcb")) return EnvSet("DISPLAY");
  if (chosen.starts_with("wayland")) return EnvSet("WAYLAND_DISPLAY");
  if (!chosen.empty()) return true;
  return EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY");
}

std::unique_ptr<UiBackend> CreateGuiBackend(int& argc, char** argv) {
  if (QApplication::instance()) return std::make_unique<QtUiBackend>(nullptr);
  if (!DisplayAvailable()) return nullptr;
  auto application = std::make_unique<QApplication>(argc, argv);
  return std::make_unique<QtUiBackend>(std::move(application));
}

void RegisterGuiBackend() { SetGuiBackendFactory(&CreateGuiBackend); }

}  // namespace platform::qt

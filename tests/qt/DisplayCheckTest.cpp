// The display check over real display servers: a live X server (Xvfb), one that accepts and
// never answers, a Wayland socket, and display numbers nobody serves.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <QTest>

#include <gtest/gtest.h>

#include "platform/qt/QtBackend.h"

namespace velmora::qttest {
namespace {

// Whether a Unix socket takes a connection within about five seconds.
bool AcceptsConnections(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  for (int i = 0; i < 100; ++i) {
    const int probe = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool connected = ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    if (connected) return true;
    QTest::qWait(50);
  }
  return false;
}

// Display servers for the display check: a live X server (Xvfb), an X server that accepts
// but never answers, a Wayland socket, and display numbers nobody serves.
class DisplayServers {
 public:
  DisplayServers()
      : folder_(std::filesystem::temp_directory_path() / ("velmora-displays-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_);
    // Xvfb picks a free display number itself and writes it to descriptor 5. Without
    // -noreset it resets when its last client leaves, and a case connecting during that
    // reset (on a loaded machine) sees a live display refuse.
    const std::string command = "Xvfb -displayfd 5 -noreset -nolisten tcp -screen 0 320x200x24 5>'" +
                                (folder_ / "number").string() + "' 2>/dev/null & echo $! >'" +
                                (folder_ / "pid").string() + "'";
    if (std::system(command.c_str()) == 0) {
      for (int i = 0; i < 200 && liveX.empty(); ++i) {
        std::ifstream number(folder_ / "number");
        std::string value;
        if (std::getline(number, value) && !value.empty()) liveX = ":" + value;
        if (liveX.empty()) QTest::qWait(50);
      }
      // The server must take connections before the cases start: a socket of the same
      // number left by a server still shutting down makes a live display look dead.
      if (!liveX.empty() && !AcceptsConnections("/tmp/.X11-unix/X" + liveX.substr(1))) liveX.clear();
    }
    silentX_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int display = 150; display < 250 && silentX.empty(); ++display) {
      address.sin_port = htons(static_cast<uint16_t>(6000 + display));
      if (::bind(silentX_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
          ::listen(silentX_, 4) == 0) {
        silentX = "127.0.0.1:" + std::to_string(display);
      }
    }
    wayland_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un unixAddress{};
    unixAddress.sun_family = AF_UNIX;
    const std::string socketPath = (folder_ / "wayland-test").string();
    std::snprintf(unixAddress.sun_path, sizeof unixAddress.sun_path, "%s", socketPath.c_str());
    if (::bind(wayland_, reinterpret_cast<sockaddr*>(&unixAddress), sizeof unixAddress) == 0)
      ::listen(wayland_, 4);
  }
  ~DisplayServers() {
    std::ifstream pid(folder_ / "pid");
    long xvfb = 0;
    if (pid >> xvfb && xvfb > 0 && ::kill(static_cast<pid_t>(xvfb), SIGTERM) == 0) {
      // Xvfb is not our child: wait until it is gone, so that its last act (removing its
      // socket) cannot remove the socket of the next test's server of the same number.
      for (int i = 0; i < 100 && ::kill(static_cast<pid_t>(xvfb), 0) == 0; ++i) QTest::qWait(50);
    }
    ::close(silentX_);
    ::close(wayland_);
    std::filesystem::remove_all(folder_);
  }
  std::string RuntimeFolder() const { return folder_.string(); }

  std::string liveX;    // empty when Xvfb could not be started
  std::string silentX;  // accepts connections and never answers

 private:
  std::filesystem::path folder_;
  int silentX_ = -1;
  int wayland_ = -1;
};

TEST(QtDisplayCheck, CountsOnlyDisplaysThatAnswer) {
  DisplayServers servers;
  ASSERT_FALSE(servers.liveX.empty()) << "Xvfb (package xvfb) did not start";
  ASSERT_FALSE(servers.silentX.empty());
  const std::string live = servers.liveX;
  const std::string silent = servers.silentX;
  struct Case {
    const char* platform;
    const char* display;
    const char* wayland;
    bool expected;
  };
  const Case cases[] = {
      {"offscreen", nullptr, nullptr, true},
      {"xcb", nullptr, nullptr, false},
      {"xcb", live.c_str(), nullptr, true},
      {"xcb", ":249", nullptr, false},          // nobody serves it
      {"xcb", silent.c_str(), nullptr, false},  // accepts, never answers: the check gives up
      {"wayland", live.c_str(), nullptr, false},
      {"wayland", nullptr, "wayland-test", true},
      {"wayland;xcb", live.c_str(), "wayland-absent", true},
      {nullptr, nullptr, nullptr, false},
      {nullptr, ":249", "wayland-absent", false},
      {nullptr, ":249", "wayland-test", true},
      {"", live.c_str(), nullptr, true},
  };
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};
  std::optional<std::string> saved[4];
  for (int i = 0; i < 4; ++i) {
    if (const char* value = std::getenv(names[i])) saved[i] = value;
  }
  for (const Case& c : cases) {
    const std::string runtime = servers.RuntimeFolder();
    const char* values[] = {c.platform, c.display, c.wayland, runtime.c_str()};
    for (int i = 0; i < 4; ++i) {
      if (values[i]) {
        setenv(names[i], values[i], 1);
      } else {
        unsetenv(names[i]);
      }
    }
    EXPECT_EQ(c.expected, platform::qt::DisplayAvailable())
        << (c.platform ? c.platform : "(unset)") << " DISPLAY=" << (c.display ? c.display : "(unset)")
        << " WAYLAND_DISPLAY=" << (c.wayland ? c.wayland : "(unset)");
  }
  for (int i = 0; i < 4; ++i) {
    if (saved[i]) {
      setenv(names[i], saved[i]->c_str(), 1);
    } else {
      unsetenv(names[i]);
    }
  }
}

}  // namespace
}  // namespace velmora::qttest

// Window calls on host handles reach a real datagram socket under $ORBECK_HOME/windows;
// a handle with nothing behind it is ignored.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "TestDialogs.h"
#include "platform/HostWindows.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

class HostWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    home = std::filesystem::temp_directory_path() / ("velmora_hw_" + std::to_string(::getpid()));
    std::filesystem::create_directories(home / "windows");
    setenv("ORBECK_HOME", home.c_str(), 1);
    fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (home / "windows" / std::to_string(kHandle)).string();
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(0, ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)));
    auto backend = std::make_unique<RecordingBackend>();
    ui = backend.get();
    SetUi(std::move(backend));
  }
  void TearDown() override {
    ::close(fd);
    std::filesystem::remove_all(home);
    unsetenv("ORBECK_HOME");
    SetUi(nullptr);
  }
  std::string Next() {
    char buffer[256];
    const ssize_t size = ::recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT);
    return size < 0 ? std::string("<nothing>") : std::string(buffer, static_cast<std::size_t>(size));
  }

  static constexpr HWND kHandle = 1048999;
  std::filesystem::path home;
  int fd = -1;
  RecordingBackend* ui = nullptr;
};

TEST_F(HostWindows, EachCallIsOneDatagramInOrder) {
  EnableWindow(kHandle, false);
  SetForegroundWindow(kHandle);
  BringWindowToTop(kHandle);
  uitest::SampleDialog progress(0, 131);
  progress.Create(0);
  EXPECT_EQ(GetDesktopWindow(), SetParent(progress.GetSafeHwnd(), kHandle));
  EXPECT_EQ(kHandle, progress.ParentWindow());
  EXPECT_TRUE(PostMessageA(kHandle, 32769, 3, 2));
  EnableWindow(kHandle, true);

  EXPECT_EQ("enable 0", Next());
  EXPECT_EQ("foreground", Next());
  EXPECT_EQ("bringToTop", Next());
  EXPECT_EQ("parent " + std::to_string(progress.GetSafeHwnd()), Next());
  EXPECT_EQ("post 32769 3 2", Next());
  EXPECT_EQ("enable 1", Next());
  EXPECT_EQ("<nothing>", Next());
  ASSERT_EQ(6u, ui->hostCalls.size());
  for (const auto& call : ui->hostCalls) EXPECT_TRUE(call.delivered);
}

TEST_F(HostWindows, DeadHandleIsIgnored) {
  EXPECT_FALSE(PostMessageA(kHandle + 1, 32769, 3, 0));
  EXPECT_FALSE(SetForegroundWindow(kHandle + 1));
  // A re-parenting nobody took fails, and the window keeps its parent.
  uitest::SampleDialog progress(0, 131);
  progress.Create(0);
  ASSERT_EQ(GetDesktopWindow(), SetParent(progress.GetSafeHwnd(), kHandle));
  EXPECT_EQ("parent " + std::to_string(progress.GetSafeHwnd()), Next());
  EXPECT_EQ(0, SetParent(progress.GetSafeHwnd(), kHandle + 1));
  EXPECT_EQ(kHandle, progress.ParentWindow());
  EXPECT_EQ(kHandle, SetParent(progress.GetSafeHwnd(), GetDesktopWindow()));
  EXPECT_EQ(0, progress.ParentWindow());
  ASSERT_EQ(4u, ui->hostCalls.size());
  EXPECT_FALSE(ui->hostCalls[0].delivered);
  EXPECT_FALSE(ui->hostCalls[3].delivered);
  EXPECT_EQ("<nothing>", Next());
  // A socket file nobody reads any more is dead as well.
  ::close(fd);
  fd = -1;
  EXPECT_FALSE(PostMessageA(kHandle, 32769, 3, 0));
}

TEST_F(HostWindows, NegativeParametersTravelInDecimal) {
  HostWindowCall call;
  call.kind = HostWindowCall::Kind::PostMessage;
  call.message = 0x8001;
  call.wParam = -3;
  call.lParam = 1;
  EXPECT_EQ("post 32769 -3 1", host::FormatHostCall(call));
}

}  // namespace

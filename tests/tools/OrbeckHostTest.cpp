// The host shell around a tiny program: the command line it passes, the calls it prints in
// order, and its exit status taken from the posted notice.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/TestFiles.h"

namespace {

struct HostRun {
  std::string output;
  int status = -1;
};

class OrbeckHost : public ::testing::Test {
 protected:
  void SetUp() override {
    home = std::filesystem::temp_directory_path() / ("velmora_host_" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("ORBECK_HOME", home.c_str(), 1);
    setenv("PROBE_OUT", (home / "cmdline").c_str(), 1);
  }
  void TearDown() override {
    std::filesystem::remove_all(home);
    unsetenv("PROBE_STATUS");
  }
  HostRun Run(const std::string& arguments) {
    HostRun run;
    const std::string command = std::string(ORBECK_HOST_PATH) + " " + arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[256];
    while (std::fgets(buffer, sizeof(buffer), pipe)) run.output += buffer;
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
  }
  std::string CommandLine() { return velmora::test::ReadText(home / "cmdline"); }
  std::filesystem::path home;
};

TEST_F(OrbeckHost, PrintsTheCallsAndExitsWithTheNoticeStatus) {
  setenv("PROBE_STATUS", "2", 1);
  const HostRun run = Run(std::string("run ") + HOST_PROBE_PATH + " 'C:\\Out\\a,b.xml'");
  EXPECT_EQ(2, run.status);
  EXPECT_EQ("enable 0\nforeground\npost 32769 3 2\nenable 1\n", run.output);
  const std::string commandLine = CommandLine();
  const std::size_t comma = commandLine.find(',');
  ASSERT_NE(std::string::npos, comma);
  EXPECT_GE(std::stol(commandLine.substr(0, comma)), 1048576);
  EXPECT_EQ(",32769,3,C:\\Out\\a,b.xml", commandLine.substr(comma));
  // The socket is gone once the run is over.
  EXPECT_TRUE(std::filesystem::is_empty(home / "windows"));
}

TEST_F(OrbeckHost, WithoutNoticeExitsWithThree) {
  const HostRun run = Run(std::string("run --message 1025 --function 7 ") + HOST_PROBE_PATH);
  EXPECT_EQ(3, run.status);
  EXPECT_EQ("enable 0\nforeground\nenable 1\n", run.output);
  EXPECT_EQ(",1025,7,", CommandLine().substr(CommandLine().find(',')));
}

TEST_F(OrbeckHost, ZeroStatusAndUsageErrors) {
  setenv("PROBE_STATUS", "0", 1);
  EXPECT_EQ(0, Run(std::string("run ") + HOST_PROBE_PATH).status);
  EXPECT_EQ(2, Run("start something 2>/dev/null").status);
  unsetenv("ORBECK_HOME");
  EXPECT_EQ(2, Run(std::string("run ") + HOST_PROBE_PATH + " 2>/dev/null").status);
}

}  // namespace

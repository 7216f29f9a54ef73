// Starting a process from a test on either system: a command line through the system's
// shell (sh on Linux, cmd under Windows), its exit code, optionally its standard output;
// or programs started directly, all at once, without a shell. The build machine's tools
// (xmllint, iconv) are reachable only from the Linux build.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velmora::test {

#ifdef _WIN32
inline constexpr bool kHasUnixTools = false;
#else
inline constexpr bool kHasUnixTools = true;
#endif

struct CommandResult {
  int exitCode = -1;  // -1: the command did not run to an end of its own
  std::string output;
};

// The exit code of a status from system() or pclose().
inline int ExitCodeOf(int status) {
#ifdef _WIN32
  return status;
#else
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

inline int RunCommand(const std::string& commandLine) { return ExitCodeOf(std::system(commandLine.c_str())); }

inline CommandResult CaptureCommand(const std::string& commandLine) {
  CommandResult result;
#ifdef _WIN32
  FILE* pipe = ::_popen(commandLine.c_str(), "rb");
#else
  FILE* pipe = ::popen(commandLine.c_str(), "r");
#endif
  if (pipe == nullptr) return result;
  char chunk[512];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, n);
#ifdef _WIN32
  result.exitCode = ExitCodeOf(::_pclose(pipe));
#else
  result.exitCode = ExitCodeOf(::pclose(pipe));
#endif
  return result;
}

// A program to start directly: its path, then its arguments (none holding a double quote),
// and variables set for it alone on top of the test's environment.
struct Program {
  std::vector<std::string> argv;
  std::vector<std::pair<std::string, std::string>> environment;
};

// Starts every program at once and waits for all of them; their exit codes, -1 for one that
// could not be started or did not end by itself.
inline std::vector<int> RunAtOnce(const std::vector<Program>& programs) {
  std::vector<int> codes(programs.size(), -1);
#ifdef _WIN32
  std::vector<HANDLE> started(programs.size(), nullptr);
  for (std::size_t i = 0; i < programs.size(); ++i) {
    std::string commandLine;
    for (const std::string& word : programs[i].argv)
      commandLine += (commandLine.empty() ? "\"" : " \"") + word + "\"";
    // A child takes the environment as it is when it is created.
    for (const auto& [name, value] : programs[i].environment) ::_putenv_s(name.c_str(), value.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
      ::CloseHandle(process.hThread);
      started[i] = process.hProcess;
    }
    for (const auto& [name, value] : programs[i].environment) ::_putenv_s(name.c_str(), "");
  }
  for (std::size_t i = 0; i < programs.size(); ++i) {
    if (started[i] == nullptr) continue;
    DWORD code = 0;
    if (::WaitForSingleObject(started[i], INFINITE) == WAIT_OBJECT_0 &&
        ::GetExitCodeProcess(started[i], &code))
      codes[i] = static_cast<int>(code);
    ::CloseHandle(started[i]);
  }
#else
  std::vector<pid_t> started(programs.size(), -1);
  for (std::size_t i = 0; i < programs.size(); ++i) {
    std::vector<char*> argv;
    for (const std::string& word : programs[i].argv) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    started[i] = ::fork();
    if (started[i] == 0) {
      for (const auto& [name, value] : programs[i].environment) ::setenv(name.c_str(), value.c_str(), 1);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  for (std::size_t i = 0; i < programs.size(); ++i) {
    int status = 0;
    if (started[i] > 0 && ::waitpid(started[i], &status, 0) == started[i]) codes[i] = ExitCodeOf(status);
  }
#endif
  return codes;
}

}  // namespace velmora::test

// Starting a process from a test on either system: a command line through the system's
// shell (sh on Linux, cmd under Windows), its exit code, optionally its standard output.
// The build machine's tools (xmllint, iconv) are reachable only from the Linux build.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
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

}  // namespace velmora::test

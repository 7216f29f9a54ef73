// Programs started directly from a test, without a shell, several at once, on either
// system (CreateProcess on Windows, fork and exec on Linux).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

// A program to start directly: its path, then its arguments (none holding a double quote),
// and variables set for it alone on top of the test's environment.
struct Program {
  std::vector<std::string> argv;
  std::vector<std::pair<std::string, std::string>> environment;
};

// Starts every program at once and waits for all of them; their exit codes, -1 for one that
// could not be started or did not end by itself.
std::vector<int> RunAtOnce(const std::vector<Program>& programs);

}  // namespace velmora::test

// Running the built executables from a test: a shell command's exit code and output, and an
// edition (optionally behind a launcher such as the host shell) run headless with a script,
// its transcript read back as JSON events.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

namespace velmora::test {

inline std::filesystem::path Executable(const std::string& name) {
  return std::filesystem::path(VELMORA_EDITIONS_DIR) / name;
}

struct Outcome {
  int exitCode = -1;
  std::string output;
};

inline Outcome Execute(const std::string& commandLine) {
  Outcome outcome;
  FILE* pipe = popen(commandLine.c_str(), "r");
  if (!pipe) return outcome;
  char chunk[512];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) outcome.output.append(chunk, n);
  const int status = pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

// Runs an edition headless with a script; args are appended to the shell command as given
// (quote them), launcher goes before the executable. The standard output is kept apart
// from the standard error.
class ScriptedRun {
 public:
  ScriptedRun(TestHost& host, const std::string& edition, const std::string& script,
              const std::string& args = "", const std::string& launcher = "") {
    const std::filesystem::path scriptFile = host.root() / (edition + ".script");
    transcriptFile = host.root() / (edition + ".jsonl");
    const std::filesystem::path errorFile = host.root() / (edition + ".stderr");
    std::ofstream(scriptFile, std::ios::binary) << script;
    setenv("VELMORA_UI_SCRIPT", scriptFile.c_str(), 1);
    setenv("VELMORA_UI_TRANSCRIPT", transcriptFile.c_str(), 1);
    const Outcome outcome = Execute(launcher + " '" + Executable(edition).string() + "' " + args + " 2>'" +
                                    errorFile.string() + "'");
    exitCode = outcome.exitCode;
    output = outcome.output;
    errors = velmora::test::ReadBytes(errorFile);
    unsetenv("VELMORA_UI_SCRIPT");
    unsetenv("VELMORA_UI_TRANSCRIPT");
    std::istringstream lines(velmora::test::ReadBytes(transcriptFile));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty()) events.push_back(nlohmann::json::parse(line, nullptr, false));
    }
  }
  std::vector<nlohmann::json> Of(const std::string& kind) const {
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& e : events) {
      if (e.is_object() && e.value("event", "") == kind) found.push_back(e);
    }
    return found;
  }
  std::filesystem::path transcriptFile;
  int exitCode = -1;
  std::string output;
  std::string errors;
  std::vector<nlohmann::json> events;
};

}  // namespace velmora::test

// A whole run of LinkApp in this process: a simulated host installation, the program's
// folder on drive C: with its definition and support files, and the scripted backend whose
// transcript the tests read.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/LinkApp.h"
#include "platform/script/ScriptBackend.h"
#include "runstate/EditionProfile.h"
#include "tests/support/TestHost.h"

namespace velmora::test {

class RunFixture {
 public:
  explicit RunFixture(const nlohmann::json& company = TestHost::MinimalCompany());

  // Runs the application with the command line and the script; returns the exit code.
  int Run(const std::string& commandLine, const std::string& script,
          const EditionProfile& edition = kVelmora1);

  // Replaces the program level in the definition file ("" writes a file without the key).
  void WriteProgramLevel(const std::string& line);
  void RemoveDefinitionFile();

  std::vector<nlohmann::json> Events(const std::string& kind) const;
  // The host window calls in order, as "enable 0", "foreground", "post 32769 5 0", ...
  std::vector<std::string> HostCalls() const;
  // The message boxes' texts, UTF-8.
  std::vector<std::string> BoxTexts() const;
  std::filesystem::path COut() const { return host.cDrive() / "out"; }
  std::filesystem::path SettingsFile(const EditionProfile& edition = kVelmora1) const {
    return host.home() / "settings" / edition.settingsFileName;
  }

  TestHost host;
  std::filesystem::path programFolder;
  // The program file's Windows-form path (code page 932); empty: C:\prog\<edition>.exe.
  std::string programPath;
  std::vector<nlohmann::json> transcript;
  int runStatus = -1;
};

// The script that accepts April to March and names C:\out\<name>.
std::string ExecuteScript(const std::string& fileName = "a.xml");

}  // namespace velmora::test

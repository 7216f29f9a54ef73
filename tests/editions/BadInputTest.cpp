// The executables against bad input: no host installation, a store of another schema
// version, a host handle with no window behind it, malformed command lines; and the host
// shell around a real run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "tests/app/RunFixture.h"
#include "tests/editions/EditionRun.h"
#include "tests/support/FifoGuard.h"
#include "tests/tools/ExpectHoldsTogether.h"

namespace fs = std::filesystem;
using velmora::test::ExecuteScript;
using velmora::test::ScriptedRun;
using velmora::test::TestHost;

namespace {

const char* kParent = "'1048577,32769,3,'";

std::vector<std::string> EventKinds(const ScriptedRun& run) {
  std::vector<std::string> kinds;
  for (const nlohmann::json& e : run.events) kinds.push_back(e.value("event", ""));
  return kinds;
}

// The run never attached: nothing shown, no host window touched, nothing written, the
// reason on standard error and the failing exit code of a run that never started.
void ExpectEndedBeforeAttaching(const TestHost& host, const ScriptedRun& run) {
  EXPECT_EQ(2, run.exitCode);
  EXPECT_EQ((std::vector<std::string>{"error", "exit"}), EventKinds(run));
  EXPECT_NE(std::string::npos, run.errors.find("Velmora1: the host installation could not be attached"))
      << run.errors;
  EXPECT_TRUE(fs::is_empty(host.cDrive() / "out"));
}

}  // namespace

TEST(BadInput, MissingHostInstallationEndsBeforeAttaching) {
  TestHost host{nlohmann::json()};
  fs::create_directories(host.cDrive() / "out");
  ExpectEndedBeforeAttaching(host, ScriptedRun(host, "Velmora1", ExecuteScript(), kParent));

  setenv("ORBECK_HOME", (host.root() / "absent").c_str(), 1);
  ExpectEndedBeforeAttaching(host, ScriptedRun(host, "Velmora1", ExecuteScript(), kParent));
}

TEST(BadInput, StoreOfAnotherSchemaVersionEndsBeforeAttaching) {
  TestHost host;
  fs::create_directories(host.cDrive() / "out");
  {
    // The database header keeps the schema version as a big-endian integer at offset 60.
    std::fstream store(host.storePath(), std::ios::in | std::ios::out | std::ios::binary);
    store.seekp(60);
    store.write("\0\0\0\3", 4);
  }
  ExpectEndedBeforeAttaching(host, ScriptedRun(host, "Velmora1", ExecuteScript(), kParent));
}

TEST(BadInput, FilesOfTheEnvironmentThatFailToReadAreNamedOnStandardError) {
  TestHost host;
  fs::create_directories(host.cDrive() / "out");
  setenv("VELMORA_FAULTS", "FileRead@Velmora1.script", 1);
  const ScriptedRun script(host, "Velmora1", ExecuteScript());
  EXPECT_EQ(2, script.exitCode);
  EXPECT_NE(std::string::npos, script.errors.find("automation script")) << script.errors;
  EXPECT_NE(std::string::npos, script.errors.find("cannot be read")) << script.errors;

  setenv("VELMORA_FAULTS", ("FileRead@" + host.drivesFile().filename().string()).c_str(), 1);
  const ScriptedRun map(host, "Velmora1", ExecuteScript());
  EXPECT_NE(0, map.exitCode);
  EXPECT_NE(std::string::npos, map.errors.find("drive map")) << map.errors;
  EXPECT_NE(std::string::npos, map.errors.find("cannot be read")) << map.errors;
  EXPECT_TRUE(fs::is_empty(host.cDrive() / "out"));
  unsetenv("VELMORA_FAULTS");
}

// Each failure that stops a run is one line, the same on standard error and in the
// transcript, naming the file or folder concerned and the next step.
TEST(BadInput, EveryFailureThatStopsARunSaysWhatWhereAndWhatToDo) {
  struct Case {
    const char* name;
    void (*prepare)(TestHost& host, fs::path& program, std::string& outputPath);
    std::vector<std::string> said;  // parts of the line, in order
  };
  const auto copyWithout = [](TestHost& host, fs::path& program, std::string&) {
    // The program alone in a folder of its own: no ZentorDef.ini beside it.
    fs::create_directories(host.root() / "bin");
    fs::copy_file(program, host.root() / "bin" / "Velmora1");
    program = host.root() / "bin" / "Velmora1";
  };
  const std::vector<Case> cases = {
      {"program folder on no drive",
       [](TestHost& host, fs::path&, std::string&) {
         std::ofstream(host.drivesFile()) << "C: " << host.cDrive().string() << "\nZ: - fixed\n";
       },
       {"cannot be reached: the program's folder ", " is on no drive of the drive map ",
        "add a line for it, such as \"Z: / fixed\""}},
      {"drive map missing",
       [](TestHost& host, fs::path&, std::string&) { fs::remove(host.drivesFile()); },
       {"the drive map ", "drives.conf (VELMORA_DRIVES) cannot be read (No such file or directory)"}},
      {"no ZentorDef.ini", copyWithout, {"bin\\ZentorDef.ini does not exist; put the ZentorDef.ini"}},
      {"no host folder",
       [](TestHost& host, fs::path&, std::string&) {
         setenv("ORBECK_HOME", (host.root() / "absent").c_str(), 1);
       },
       {"could not be attached: the host folder ",
        "absent does not exist: create it with `orbeck-admin load"}},
      {"no store",
       [](TestHost& host, fs::path&, std::string&) { fs::remove(host.storePath()); },
       {"holds no store (orbeck.db): load one with `orbeck-admin load"}},
      {"damaged store",
       [](TestHost& host, fs::path&, std::string&) {
         std::fstream store(host.storePath(), std::ios::in | std::ios::out | std::ios::binary);
         store.seekp(-1, std::ios::end);
         store.put('\x7F');
       },
       {"orbeck.db differs from its seal", "reload it with `orbeck-admin load"}},
      {"folder the system refuses",
       [](TestHost&, fs::path&, std::string& output) { output = "Z:\\proc\\kessan.xml"; },
       {"the document Z:\\proc\\kessan.xml could not be written: No such file or directory"}},
      {"drive with nothing behind it",
       [](TestHost&, fs::path&, std::string& output) { output = "Q:\\kessan.xml"; },
       {"the document Q:\\kessan.xml could not be written: drive Q: is not in the drive map ",
        "drives.conf (VELMORA_DRIVES)"}},
  };
  for (const Case& c : cases) {
    TestHost host;
    fs::create_directories(host.cDrive() / "out");
    fs::path program = velmora::test::Executable("Velmora1");
    // The yes creates a missing folder of the output path.
    std::string output = "C:\\out\\a.xml";
    c.prepare(host, program, output);
    const fs::path script = host.root() / "run.script";
    const fs::path transcript = host.root() / "run.jsonl";
    std::ofstream(script) << "set 1016 4\nset 1000 3\nset 1015 " << output << "\nclick 1002\nanswer yes\n";
    const velmora::test::Outcome run = velmora::test::Execute(
        "VELMORA_UI_SCRIPT='" + script.string() + "' VELMORA_UI_TRANSCRIPT='" + transcript.string() + "' '" +
        program.string() + "' 2>&1 >/dev/null | grep -v '^drive map '");
    std::string transcribed;
    std::istringstream lines(velmora::test::ReadBytes(transcript));
    for (std::string line; std::getline(lines, line);) {
      const nlohmann::json event = nlohmann::json::parse(line, nullptr, false);
      if (event.value("event", "") == "error") transcribed += event.value("text", "") + "\n";
    }
    EXPECT_EQ(transcribed, run.output) << c.name;
    EXPECT_EQ(0u, run.output.find("Velmora1: ")) << c.name << run.output;
    EXPECT_EQ(1, std::count(run.output.begin(), run.output.end(), '\n')) << c.name << run.output;
    std::size_t from = 0;
    for (const std::string& part : c.said) {
      from = run.output.find(part, from);
      ASSERT_NE(std::string::npos, from) << c.name << ": " << part << "\n" << run.output;
    }
    EXPECT_TRUE(fs::is_empty(host.cDrive() / "out")) << c.name;
    unsetenv("ORBECK_HOME");
  }
}

// An input of the run that is no regular file is never read: a FIFO would keep the run
// waiting for its writer for ever, a device need never end. The run fails, naming the file
// on standard error; `timeout` makes a run that waits fail the test instead of hanging it.
TEST(BadInput, InputsThatAreNoRegularFilesAreNamedNotWaitedOn) {
  struct Input {
    const char* what;
    std::function<fs::path(const TestHost&)> path;
  };
  const Input inputs[] = {
      {"drive map", [](const TestHost& host) { return host.drivesFile(); }},
      {"store", [](const TestHost& host) { return host.storePath(); }},
      {"seal", [](const TestHost& host) { return fs::path(host.storePath().string() + ".seal"); }},
  };
  for (const Input& input : inputs) {
    for (const bool fifo : {true, false}) {
      TestHost host;
      fs::create_directories(host.cDrive() / "out");
      const fs::path path = input.path(host);
      if (fifo) {
        ASSERT_TRUE(velmora::test::MakeFifo(path)) << input.what;
      } else {
        fs::remove(path);
        fs::create_symlink("/dev/null", path);
      }
      const std::string what = std::string(input.what) + (fifo ? " as a FIFO" : " as a device");
      const ScriptedRun run(host, "Velmora1", ExecuteScript(), "", "timeout -k 5 30");
      EXPECT_EQ(2, run.exitCode) << what << "\n" << run.errors;
      EXPECT_NE(std::string::npos, run.errors.find(path.string())) << what << "\n" << run.errors;
      EXPECT_NE(std::string::npos, run.errors.find("not a regular file")) << what << "\n" << run.errors;
      EXPECT_TRUE(fs::is_empty(host.cDrive() / "out")) << what;
    }
  }
}

TEST(BadInput, HostHandleWithNoWindowIsIgnored) {
  TestHost host;
  fs::create_directories(host.cDrive() / "out");
  const ScriptedRun run(host, "Velmora2", ExecuteScript(), "'999999,32769,4,'");
  EXPECT_EQ(0, run.exitCode);
  EXPECT_TRUE(fs::exists(host.cDrive() / "out" / "a.xml"));
  const std::vector<nlohmann::json> calls = run.Of("host");
  EXPECT_EQ(6u, calls.size());
  for (const nlohmann::json& call : calls) {
    EXPECT_EQ(999999, call.value("hwnd", 0L));
    EXPECT_FALSE(call.value("delivered", true)) << call.dump();
  }
}

TEST(BadInput, MalformedCommandLinesRunWithoutParentMode) {
  // Each is taken as naming no host window: the run works as without a command line.
  for (const std::string& args :
       std::vector<std::string>{"abc", "'12,34'", "'1,2' '3'", "'" + std::string(300, 'x') + "'"}) {
    TestHost host;
    fs::create_directories(host.cDrive() / "out");
    const ScriptedRun run(host, "Velmora1", ExecuteScript(), args);
    EXPECT_EQ(0, run.exitCode) << args;
    EXPECT_TRUE(run.Of("host").empty()) << args;
    EXPECT_TRUE(fs::exists(host.cDrive() / "out" / "a.xml")) << args;
  }
}

TEST(BadInput, CommandLineWithoutCodePage932FormStopsBeforeTheRun) {
  TestHost host;
  fs::create_directories(host.cDrive() / "out");
  const ScriptedRun run(host, "Velmora1", ExecuteScript(), "'1,2,3,C:\\out\\\xF0\x9F\x98\x80.xml'");
  EXPECT_EQ(2, run.exitCode);
  EXPECT_NE(std::string::npos, run.errors.find("Velmora1: the command line has no code page 932 form"))
      << run.errors;
  EXPECT_TRUE(fs::is_empty(host.cDrive() / "out"));
}

TEST(HostShell, ShowsTheNoticesOfARealRunAndExitsWithItsStatus) {
  TestHost host;
  fs::create_directories(host.cDrive() / "out");
  const ScriptedRun done(host, "Velmora1", "click 1002\n", "'C:\\out\\h.xml'",
                         std::string(ORBECK_HOST_PATH) + " run");
  EXPECT_EQ(0, done.exitCode) << done.errors;
  // The progress window is the program's second window (handles 4096, 4098, ...).
  EXPECT_EQ("enable 0\nparent 4098\nforeground\nenable 1\npost 32769 3 0\nenable 1\n", done.output);
  EXPECT_TRUE(fs::exists(host.cDrive() / "out" / "h.xml"));
  inspect::test::ExpectHoldsTogether(host.cDrive() / "out" / "h.xml");
  for (const nlohmann::json& call : done.Of("host"))
    EXPECT_TRUE(call.value("delivered", false)) << call.dump();

  const ScriptedRun cancelled(host, "Velmora3", "click 1003\n", "",
                              std::string(ORBECK_HOST_PATH) + " run --function 9");
  EXPECT_EQ(1, cancelled.exitCode) << cancelled.errors;
  EXPECT_EQ("enable 0\nforeground\nenable 1\npost 32769 9 1\nenable 1\n", cancelled.output);
}

// Two runs of an edition writing the same output at once: each writes its own temporary
// file, so both succeed and the output is one whole document.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/app/RunFixture.h"
#include "tests/editions/EditionRun.h"

namespace fs = std::filesystem;
using velmora::test::Executable;
using velmora::test::Execute;
using velmora::test::ExecuteScript;
using velmora::test::ReadFile;
using velmora::test::ScriptedRun;
using velmora::test::TestHost;

TEST(ConcurrentRuns, TwoRunsOnOneOutputBothWriteAWholeDocument) {
  TestHost host;
  const fs::path out = host.cDrive() / "out";
  fs::create_directories(out);
  // Every run finds a document to overwrite, and says yes.
  const std::string script = ExecuteScript() + "answer yes\n";
  ASSERT_EQ(0, ScriptedRun(host, "Velmora1", script).exitCode);
  const std::string reference = ReadFile(out / "a.xml");
  ASSERT_TRUE(reference.ends_with("</REPORT>\r\n"));

  const fs::path scriptFile = host.root() / "both.script";
  std::ofstream(scriptFile, std::ios::binary) << script;
  std::string both;
  for (int run = 1; run <= 2; ++run) {
    const std::string n = std::to_string(run);
    both += "(VELMORA_UI_SCRIPT='" + scriptFile.string() + "' VELMORA_UI_TRANSCRIPT='" +
            (host.root() / ("t" + n)).string() + "' '" + Executable("Velmora1").string() +
            "' >/dev/null 2>&1; echo $? > '" + (host.root() / ("status" + n)).string() + "') & ";
  }
  both += "wait";
  for (int attempt = 0; attempt < 8; ++attempt) {
    SCOPED_TRACE("attempt " + std::to_string(attempt));
    Execute(both);
    EXPECT_EQ("0\n", ReadFile(host.root() / "status1"));
    EXPECT_EQ("0\n", ReadFile(host.root() / "status2"));
    EXPECT_TRUE(ReadFile(out / "a.xml") == reference) << "the output is not one whole document";
    EXPECT_EQ(1, std::distance(fs::directory_iterator(out), {})) << "a temporary file was left";
  }
}

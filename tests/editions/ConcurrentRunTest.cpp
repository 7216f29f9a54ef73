// Two runs of an edition writing the same output at once: each writes its own temporary
// file, so both succeed and the output is one whole document.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/app/RunFixture.h"
#include "tests/support/RunAtOnce.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

namespace fs = std::filesystem;
using velmora::test::ExecuteScript;
using velmora::test::Program;
using velmora::test::RunAtOnce;
using velmora::test::TestHost;

namespace {}  // namespace

TEST(ConcurrentRuns, TwoRunsOnOneOutputBothWriteAWholeDocument) {
  TestHost host;
  const fs::path out = host.cDrive() / "out";
  fs::create_directories(out);
  // Every run finds a document to overwrite, and says yes.
  const fs::path scriptFile = host.root() / "both.script";
  std::ofstream(scriptFile, std::ios::binary) << ExecuteScript() + "answer yes\n";
  const std::string edition = (fs::path(VELMORA_EDITIONS_DIR) / VELMORA_EDITION_FILE).string();
  auto run = [&](const std::string& name) {
    return Program{{edition},
                   {{"VELMORA_UI_SCRIPT", scriptFile.string()},
                    {"VELMORA_UI_TRANSCRIPT", (host.root() / (name + ".jsonl")).string()}}};
  };
  ASSERT_EQ(std::vector<int>{0}, RunAtOnce({run("first")}));
  const std::string reference = velmora::test::ReadBytes(out / "a.xml");
  ASSERT_TRUE(reference.ends_with("</REPORT>\r\n"));

  for (int attempt = 0; attempt < 8; ++attempt) {
    SCOPED_TRACE("attempt " + std::to_string(attempt));
    EXPECT_EQ((std::vector<int>{0, 0}), RunAtOnce({run("one"), run("two")}))
        << velmora::test::ReadBytes(host.root() / "one.jsonl")
        << velmora::test::ReadBytes(host.root() / "two.jsonl");
    EXPECT_TRUE(velmora::test::ReadBytes(out / "a.xml") == reference)
        << "the output is not one whole document";
    EXPECT_EQ(1, std::distance(fs::directory_iterator(out), {})) << "a temporary file was left";
  }
}

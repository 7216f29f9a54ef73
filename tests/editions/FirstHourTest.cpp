// What a new user meets first, through the built executables: --help and --version of every
// tool and edition, the installation with its man pages, the start without a display that
// answers, a windowed start without a host installation, and the demo script's report.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/editions/EditionRun.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;
using velmora::test::Executable;
using velmora::test::Execute;
using velmora::test::Outcome;
using velmora::test::ReadBytes;
using velmora::test::TestHost;

namespace {

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// The environment of a user's shell without a display, a script or a host.
std::string Bare() {
  return "env -u VELMORA_UI_SCRIPT -u VELMORA_UI_TRANSCRIPT -u QT_QPA_PLATFORM -u DISPLAY -u "
         "WAYLAND_DISPLAY ";
}

}  // namespace

TEST(FirstHour, EveryToolAndEditionAnswersHelpAndVersion) {
  const std::vector<std::pair<std::string, fs::path>> programs = {
      {"Velmora1", Executable("Velmora1")}, {"Velmora2", Executable("Velmora2")},
      {"Velmora3", Executable("Velmora3")}, {"orbeck-admin", ORBECK_ADMIN_PATH},
      {"orbeck-host", ORBECK_HOST_PATH},
  };
  for (const auto& [name, path] : programs) {
    const Outcome help = Execute(Quoted(path) + " --help 2>&1");
    EXPECT_EQ(0, help.exitCode) << name;
    EXPECT_NE(std::string::npos, help.output.find("sage: " + name)) << help.output;
    const Outcome version = Execute(Quoted(path) + " --version 2>&1");
    EXPECT_EQ(0, version.exitCode) << name;
    EXPECT_EQ(0u, version.output.find(name + " 21.00.03\n")) << version.output;
  }
}

TEST(FirstHour, InstallPutsTheToolsWithManPagesBesideTheEditions) {
  TestHost host;
  const fs::path prefix = host.root() / "prefix";
  const Outcome install =
      Execute("cmake --install " + Quoted(VELMORA_TEST_BINARY_DIR) + " --prefix " + Quoted(prefix) + " 2>&1");
  ASSERT_EQ(0, install.exitCode) << install.output;
  for (const char* name : {"Velmora1", "Velmora2", "Velmora3", "orbeck-admin", "orbeck-host",
                           "velmora-inspect", "orbeck-import"}) {
    EXPECT_TRUE(fs::exists(prefix / "bin" / name)) << name;
    const fs::path page = prefix / "share" / "man" / "man1" / (std::string(name) + ".1");
    // help2man's page: a title and the name line.
    const std::string text = ReadBytes(page);
    EXPECT_EQ(0u, text.find(".\\\" DO NOT MODIFY THIS FILE!")) << page;
    EXPECT_NE(std::string::npos, text.find(".SH NAME\n" + std::string(name) + " \\- ")) << text;
    // Every usage line of --help is a line of its own in SYNOPSIS.
    const std::string help = Execute(Quoted(prefix / "bin" / name) + " --help").output;
    std::size_t usages = 0;
    std::istringstream helpLines(help);
    for (std::string line; std::getline(helpLines, line);) {
      if (line.rfind("Usage: ", 0) == 0 || line.rfind("  or:  ", 0) == 0) ++usages;
    }
    const std::size_t synopsis = text.find(".SH SYNOPSIS\n");
    const std::string synopsisText = text.substr(synopsis, text.find(".SH DESCRIPTION") - synopsis);
    std::size_t lines = 0;
    for (std::size_t at = 0;
         (at = synopsisText.find(".B " + std::string(name) + "\n", at)) != std::string::npos; ++at)
      ++lines;
    EXPECT_GE(usages, 2u) << help;
    EXPECT_EQ(usages, lines) << synopsisText;
    EXPECT_NE(std::string::npos, synopsisText.find("--version")) << synopsisText;
  }
  // The editions' pages keep the Japanese of --version, whatever the locale of the build, and
  // man renders them in a locale without UTF-8 too.
  const fs::path editionPage = prefix / "share" / "man" / "man1" / "Velmora1.1";
  EXPECT_NE(std::string::npos, ReadBytes(editionPage).find("Zentor 連動 from Orbeck２１"))
      << ReadBytes(editionPage);
  const Outcome shown = Execute("LC_ALL=C LANG=C MANWIDTH=80 man -l " + Quoted(editionPage) + " 2>&1");
  EXPECT_EQ(0, shown.exitCode) << shown.output;
  EXPECT_NE(std::string::npos, shown.output.find("Velmora1 --version")) << shown.output;
  EXPECT_EQ(std::string::npos, shown.output.find("??")) << shown.output;

  // The documents the help points to, the demo company and desktop entries with Japanese names.
  for (const char* doc : {"host-data.md", "inspect.md", "rc25.xsd", "README.md"}) {
    EXPECT_TRUE(fs::exists(prefix / "share" / "doc" / "velmora" / doc)) << doc;
  }
  for (const char* edition : {"Velmora1", "Velmora2", "Velmora3"}) {
    const std::string entry =
        ReadBytes(prefix / "share" / "applications" / (std::string(edition) + ".desktop"));
    EXPECT_NE(std::string::npos, entry.find("\nName[ja]=決算書連動 (Orbeck２１")) << entry;
  }
  // The installed tool loads the installed demo from another folder, with nothing of the
  // build tree.
  const fs::path elsewhere = host.root() / "elsewhere";
  fs::create_directories(elsewhere);
  const Outcome load = Execute("cd " + Quoted(elsewhere) + " && " + Quoted(prefix / "bin" / "orbeck-admin") +
                               " load " + Quoted(prefix / "share" / "velmora" / "demo-company.json") +
                               " --home " + Quoted(host.root() / "demo-home") + " 2>&1");
  EXPECT_EQ(0, load.exitCode) << load.output;
  EXPECT_TRUE(fs::exists(host.root() / "demo-home" / "orbeck.db"));
  EXPECT_TRUE(fs::exists(prefix / "share" / "velmora" / "demo.script"));
}

TEST(FirstHour, ADisplayThatDoesNotAnswerEndsWithTheNoDisplayMessage) {
  TestHost host;
  const fs::path folder = host.root();
  // Display 249 is served by nobody.
  const Outcome run =
      Execute(Bare() + "DISPLAY=:249 " + Quoted(Executable("Velmora1")) + " 2>" + Quoted(folder / "stderr"));
  EXPECT_EQ(2, run.exitCode);
  EXPECT_EQ("Velmora1: no display and no automation script (set VELMORA_UI_SCRIPT)\n",
            ReadBytes(folder / "stderr"));
}

#ifdef VELMORA_EDITIONS_HAVE_QT
TEST(FirstHour, WindowedStartWithoutAHostWaitsOnItsBoxWithoutQtWarnings) {
  TestHost host;
  const fs::path folder = host.root();
  // The box waits for a user: the run is still there when timeout ends it.
  const Outcome run =
      Execute(Bare() + "-u XDG_RUNTIME_DIR TMPDIR=" + Quoted(folder) +
              " QT_QPA_PLATFORM=offscreen ORBECK_HOME=" + Quoted(folder / "absent") + " timeout 5 " +
              Quoted(Executable("Velmora1")) + " 2>" + Quoted(folder / "stderr"));
  EXPECT_EQ(124, run.exitCode);
  const std::string errors = ReadBytes(folder / "stderr");
  EXPECT_EQ(0u, errors.find("Velmora1: the host installation could not be attached")) << errors;
  EXPECT_EQ(std::string::npos, errors.find("XDG_RUNTIME_DIR")) << errors;
  EXPECT_EQ(std::string::npos, errors.find("QStandardPaths")) << errors;
}
#endif

TEST(FirstHour, DemoScriptSaysWhyARunDidNotComplete) {
  TestHost host;
  const fs::path folder = host.root();
  const Outcome demo = Execute("DEMO_BUILD_DIR=" + Quoted(VELMORA_TEST_BINARY_DIR) + " bash " +
                               Quoted(fs::path(VELMORA_TEST_SOURCE_DIR) / "scripts" / "demo.sh") + " " +
                               Quoted(folder / "a<b.xml") + " 2>&1");
  EXPECT_EQ(1, demo.exitCode) << demo.output;
  EXPECT_NE(std::string::npos, demo.output.find("run status: 1 (cancelled)")) << demo.output;
  // The refusal of the name, then the cancellation, each on a line of its own.
  const std::size_t messages = demo.output.find("messages:\n");
  ASSERT_NE(std::string::npos, messages) << demo.output;
  EXPECT_NE(std::string::npos, demo.output.find("\n  ", messages)) << demo.output;
  EXPECT_NE(std::string::npos, demo.output.find("  ｢決算書｣の集計を中止します。\n", messages)) << demo.output;
}

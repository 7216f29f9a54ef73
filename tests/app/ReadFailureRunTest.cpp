// Whole runs whose reads fail: every read failure of the host runtime or of the program's
// own files fails the run with status 2 and a message naming what could not be read,
// leaves no document (an earlier one stays as it was) and saves no settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "orbeck/StoreStatement.h"
#include "platform/Faults.h"
#include "tests/app/RunFixture.h"
#include "tests/support/TestFiles.h"
#ifndef _WIN32
#include "tests/support/FifoGuard.h"
#endif

using velmora::test::ExecuteScript;
using velmora::test::RunFixture;
using velmora::test::TestHost;

namespace {

const char* kEarlier = "earlier document";

std::string Failure(const std::string& unread) {
  return "XMLファイルの出力に失敗しました。\n" + unread +
         "を読み込めませんでした。\n\nアプリケーションを終了します。";
}

// The minimal company with notes switched on, so that all three saved documents are read.
nlohmann::json CompanyWithNotes() {
  nlohmann::json company = TestHost::MinimalCompany();
  company["data"][0]["savedDocuments"] = {{"0", "Note=1\r\n"},
                                          {"100", "InputMode=1\r\n[Note_0]\r\nDisp=1\r\n"},
                                          {"1000", "<ID>1</ID>\r\n<Disp>1</Disp>\r\n"}};
  return company;
}

// Every file of the test's world with its bytes.
std::map<std::filesystem::path, std::string> Files(const std::filesystem::path& root) {
  std::map<std::filesystem::path, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files[entry.path()] = velmora::test::ReadBytes(entry.path());
  }
  return files;
}

// Runs with a fault set over an earlier document; checks what every failed run must show:
// status 2, the failure message last, and not one file changed (no document, no settings).
void ExpectFailedRun(RunFixture& run, const std::string& faults, const std::string& unread) {
  SCOPED_TRACE(faults);
  std::ofstream(run.COut() / "a.xml", std::ios::binary | std::ios::trunc) << kEarlier;
  const auto before = Files(run.host.root());
  platform::faults::Set(faults);
  // The earlier document makes the dialog ask before overwriting it.
  const int exitCode = run.Run("", ExecuteScript() + "answer yes\n");
  platform::faults::Clear();
  EXPECT_EQ(2, exitCode);
  EXPECT_EQ(2, run.runStatus);
  std::vector<std::string> boxes;  // but the question before overwriting
  for (const nlohmann::json& e : run.Events("messageBox")) {
    if (e.value("icon", "") != "question") boxes.push_back(e.value("text", ""));
  }
  ASSERT_FALSE(boxes.empty());
  if (!unread.empty()) {
    EXPECT_EQ(Failure(unread), boxes.back());
  }
  // At most the runtime's own box comes before the run's message.
  EXPECT_LE(boxes.size(), 2u);
  const auto after = Files(run.host.root());
  EXPECT_TRUE(before == after) << "a file was written, changed or left behind";
}

}  // namespace

TEST(ReadFailureRun, EachFailedReadNamesWhatCouldNotBeRead) {
  struct Case {
    const char* faults;
    const char* unread;  // UTF-8
  };
  const Case cases[] = {
      {"ClSetGengo::Walk", "和暦"},
      {"StoreRead@FROM eras", "和暦"},
      {"ClSaveKessansho::GetDataType02@0", "決算書の保存データ"},
      {"ClSaveKessansho::GetDataType02@100", "決算書の保存データ"},
      {"ClSaveKessansho::GetDataType02@1000", "決算書の保存データ"},
      {"StoreRead@FROM session", "会計データの情報"},
      {"StoreRead@FROM users", "会計データの情報"},
      {"StoreRead@FROM data d ORDER BY", "会計データの情報"},
      {"StoreRead@has_tax_settings", "会計データの情報"},
      {"ClRuleMotocho::MoveNext", "元帳"},
      {"ClRuleKamoku::MoveNext", "残高"},
      {"StoreRead@FROM folders", "会計データ"},
      {"FileRead@SUPPORT.INF", "SUPPORT.INF"},
  };
  RunFixture run(CompanyWithNotes());
  for (const Case& c : cases) ExpectFailedRun(run, c.faults, c.unread);
}

TEST(ReadFailureRun, OutOfMemoryForTheSupportFileFailsAfterItsBox) {
  RunFixture run;
  ExpectFailedRun(run, "SupportInfoAlloc", "");
  const std::vector<std::string> boxes = run.BoxTexts();
  ASSERT_EQ(3u, boxes.size());
  EXPECT_EQ("ﾒﾓﾘが不足しています。", boxes[1]);
  EXPECT_EQ(Failure("SUPPORT.INF"), boxes[2]);
}

#ifndef _WIN32
// A SUPPORT.INF that is there but is no regular file is never read (a FIFO would keep the
// run waiting for its writer): the run fails as when its read fails.
TEST(ReadFailureRun, ASupportFileThatIsNoRegularFileFailsTheRun) {
  RunFixture run;
  const std::filesystem::path support = run.programFolder / "SUPPORT.INF";
  ASSERT_TRUE(velmora::test::MakeFifo(support));
  bool ran = false;
  EXPECT_TRUE(velmora::test::ReturnsWithoutWaitingOn(
      support,
      [&] {
        ExpectFailedRun(run, "", "SUPPORT.INF");
        return true;
      },
      ran));
}
#endif

TEST(ReadFailureRun, DatesOutsideEveryEraStayEmptyAndTheRunCompletes) {
  nlohmann::json company = TestHost::MinimalCompany();
  company["eras"] = {{{"no", 5}, {"firstDay", 20300101}, {"name", "未来"}}};
  RunFixture run(company);
  ASSERT_EQ(0, run.Run("", ExecuteScript()));
  const std::string document = velmora::test::ReadBytes(run.COut() / "a.xml");
  EXPECT_NE(std::string::npos, document.find("<HJ00780S")) << "the ledger form is written";
  EXPECT_TRUE(std::filesystem::exists(run.SettingsFile()));
}

// Every read point the runtime passes during a demo run with the ledger, failed in turn at
// its first and at its last pass.
TEST(ReadFailureRun, EveryReadPointOfADemoRunFailsTheRun) {
  RunFixture run(TestHost::LoadDemoCompany());
  // The second run starts as the failed runs do: with the settings of the first and a
  // document to overwrite.
  ASSERT_EQ(0, run.Run("", ExecuteScript()));
  orbeck::ResetReadPointUses();
  ASSERT_EQ(0, run.Run("", ExecuteScript() + "answer yes\n"));
  const std::string complete = velmora::test::ReadBytes(run.COut() / "a.xml");
  ASSERT_NE(std::string::npos, complete.find("<HJ00780S"));
  const std::vector<orbeck::ReadPointUse> uses = orbeck::ReadPointUses();
  ASSERT_GE(uses.size(), 10u);
  std::size_t runs = 0;
  for (const orbeck::ReadPointUse& use : uses) {
    SCOPED_TRACE(use.description);
    for (std::uint64_t pass : {std::uint64_t{1}, use.passes}) {
      ExpectFailedRun(run, use.faultEntry + "#" + std::to_string(pass), "");
      ++runs;
      if (use.passes == 1) break;
    }
  }
  std::printf("read points: %zu, failed runs: %zu\n", uses.size(), runs);
}

// Reads whose callers do not look at the status: the selected data that the balance cursor
// attaches to (pass 1; a failure lets the profile stand in) and the accounting period of a
// ledger's dates (pass 2). Only the run's own check can fail the run on them. A fault fires
// from its pass on, so the saved-notes reader's checked read of the same record fails later
// too, as do the checked reads added here: the message still names the first failure.
TEST(ReadFailureRun, UncheckedHostReadsFailTheRunAndTheFirstFailureIsNamed) {
  struct Case {
    const char* faults;
    const char* unread;  // UTF-8
  };
  const Case cases[] = {
      {"StoreRead@FROM data d WHERE#1", "会計データ"},
      {"StoreRead@FROM data d WHERE#2", "会計データ"},
      {"StoreRead@FROM data d WHERE#1,ClRuleKamoku::MoveNext", "会計データ"},
      {"StoreRead@FROM data d WHERE#2,ClRuleMotocho::MoveNext", "会計データ"},
      {"StoreRead@FROM data d WHERE#2,ClSetGengo::Walk", "会計データ"},
      // The checked read first: it is named, not the runtime's later record of the same.
      {"ClRuleKamoku::MoveNext", "残高"},
  };
  RunFixture run(CompanyWithNotes());
  for (const Case& c : cases) ExpectFailedRun(run, c.faults, c.unread);
}

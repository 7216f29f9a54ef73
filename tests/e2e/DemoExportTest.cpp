// The demo company exported end to end, in process, through the automation backend:
// byte-compared with the committed golden documents, well-formed for libxml2, decodable in
// its declared encoding, holding together for velmora-inspect, and an earlier document kept
// when the export fails.
// VELMORA_UPDATE_GOLDEN=1 rewrites the golden documents from the current output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Faults.h"
#include "tests/app/RunFixture.h"
#include "tests/support/Golden.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#ifdef VELMORA_HAVE_INSPECT
#include "tests/tools/ExpectHoldsTogether.h"
#endif

namespace fs = std::filesystem;
using velmora::test::ExecuteScript;
using velmora::test::RunFixture;
using velmora::test::TestHost;

namespace {

int Shell(const std::string& command) { return velmora::test::RunCommand(command); }

void ExpectMatchesGolden(const fs::path& document, const std::string& goldenName) {
  const std::string actual = velmora::test::ReadBytes(document);
  ASSERT_FALSE(actual.empty()) << document;
  EXPECT_TRUE(velmora::test::MatchesGolden(actual, "e2e/" + goldenName));
}

// Under Wine the build machine's tools cannot be started and the inspector is not built;
// there the byte comparison with the golden documents, which Linux checks with them, stands
// for both.
void ExpectWellFormedShiftJis(const fs::path& document) {
  if (velmora::test::kHasUnixTools) {
    EXPECT_EQ(0, Shell("xmllint --noout '" + document.string() + "'"));
    EXPECT_EQ(0, Shell("iconv -f SHIFT_JIS -t UTF-8 '" + document.string() + "' > /dev/null"));
  }
  const std::string head = velmora::test::ReadBytes(document).substr(0, 44);
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n", head);
#ifdef VELMORA_HAVE_INSPECT
  inspect::test::ExpectHoldsTogether(document);
#endif
}

TEST(DemoExport, WithGeneralLedgerMatchesGolden) {
  RunFixture run(TestHost::LoadDemoCompany());
  ASSERT_EQ(0, run.Run("", ExecuteScript("demo.xml")));
  const fs::path document = run.COut() / "demo.xml";
  ExpectWellFormedShiftJis(document);
  ExpectMatchesGolden(document, "demo-company.xml");
  EXPECT_NE(std::string::npos, velmora::test::ReadBytes(document).find("<HJ00780S>"));
}

TEST(DemoExport, WithoutGeneralLedgerMatchesGolden) {
  RunFixture run(TestHost::LoadDemoCompany());
  ASSERT_EQ(0, run.Run("", "check 1021 0\n" + ExecuteScript("plain.xml")));
  const fs::path document = run.COut() / "plain.xml";
  ExpectWellFormedShiftJis(document);
  ExpectMatchesGolden(document, "demo-company-no-ledger.xml");
  EXPECT_EQ(std::string::npos, velmora::test::ReadBytes(document).find("HJ00780S"));
}

TEST(DemoExport, FailedWriteKeepsTheEarlierDocument) {
  RunFixture run(TestHost::LoadDemoCompany());
  fs::create_directories(run.COut());
  const fs::path document = run.COut() / "kept.xml";
  std::ofstream(document, std::ios::binary) << "earlier export";
  platform::faults::Set("FileWrite#40");
  const int status = run.Run("", ExecuteScript("kept.xml") + "answer yes\n");
  platform::faults::Clear();
  EXPECT_EQ(2, status);
  EXPECT_EQ("earlier export", velmora::test::ReadBytes(document));
  bool failureShown = false;
  for (const std::string& text : run.BoxTexts()) {
    failureShown |= text == "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。";
  }
  EXPECT_TRUE(failureShown);
  for (const auto& entry : fs::directory_iterator(run.COut())) {
    EXPECT_EQ(document.filename(), entry.path().filename()) << "left behind: " << entry.path();
  }
}

}  // namespace

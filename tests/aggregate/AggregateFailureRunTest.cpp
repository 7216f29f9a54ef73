// Whole runs in which the aggregation fails part-way (a balance cursor error after some
// rows, an amount beyond the range of the sums): the run fails with status 2 and the
// failure message, saves no settings and leaves an earlier document at the path as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Faults.h"
#include "tests/app/RunFixture.h"
#include "tests/support/TestFiles.h"

using velmora::test::ExecuteScript;
using velmora::test::RunFixture;
using velmora::test::TestHost;

namespace {

const char* kFailed = "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。";
const char* kOverwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
const std::string kEarlier = "<earlier document>\r\n";

class FailedAggregationRun : public ::testing::Test {
 protected:
  void SetUp() override { platform::faults::Clear(); }
  void TearDown() override { platform::faults::Clear(); }

  // Runs with an earlier document at C:\out\a.xml and checks everything a failed run leaves.
  void ExpectFailedRun(RunFixture& run, const std::string& failure = kFailed) {
    const std::filesystem::path output = run.COut() / "a.xml";
    {
      std::ofstream earlier(output, std::ios::binary);
      earlier << kEarlier;
    }
    EXPECT_EQ(2, run.Run("", ExecuteScript() + "answer yes\n"));
    platform::faults::Clear();
    EXPECT_EQ(2, run.runStatus);
    // The overwrite question, then the failure over the progress window.
    const std::vector<std::string> boxes = run.BoxTexts();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kOverwrite, boxes[0]);
    EXPECT_EQ(failure, boxes[1]);
    EXPECT_EQ(131, run.Events("messageBox").at(1).value("owner", 0));
    EXPECT_FALSE(std::filesystem::exists(run.SettingsFile()));
    EXPECT_EQ(kEarlier, velmora::test::ReadBytes(output));
  }
};

TEST_F(FailedAggregationRun, CursorErrorAfterTheFirstRow) {
  RunFixture run;
  platform::faults::Set("ClRuleKamoku::MoveNext@1350000");
  ExpectFailedRun(
      run,
      "XMLファイルの出力に失敗しました。\n残高を読み込めませんでした。\n\nアプリケーションを終了します。");
}

TEST_F(FailedAggregationRun, AmountsBeyondTheRangeOfTheSums) {
  nlohmann::json company = TestHost::MinimalCompany();
  nlohmann::json sums = {{"debit", nlohmann::json::array()}, {"credit", nlohmann::json::array()}};
  for (int i = 0; i < 15; ++i) {
    // 6 and 5 times 10^13 yen: each fits, their sum reaches 10^14 yen.
    sums["debit"].push_back(i == 0 ? "60000000000000" : i == 1 ? "50000000000000" : "0");
    sums["credit"].push_back("0");
  }
  for (nlohmann::json& account : company["data"][0]["accounts"]) {
    if (account["code"] == 1110000) {
      account.erase("opening");
      account["sums"] = {{"set1", sums}, {"set2", sums}};
    }
  }
  RunFixture run(company);
  ExpectFailedRun(run);
}

}  // namespace

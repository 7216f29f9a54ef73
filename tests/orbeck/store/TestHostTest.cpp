// The shared fixture: environment set while it lives and restored after, folder removed,
// the minimal company readable from the store.
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/orbeck/store/StoreQuery.h"
#include "tests/support/TestFiles.h"

namespace {

using velmora::test::TestHost;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "(unset)";
}

TEST(TestHost, SetsTheEnvironmentAndRestoresItAfterwards) {
  setenv("ORBECK_HOME", "/before/home", 1);
  unsetenv("VELMORA_DRIVES");
  setenv("VELMORA_FAULTS", "FileWrite", 1);
  setenv("VELMORA_UI_SCRIPT", "/before/script", 1);
  std::filesystem::path root;
  {
    TestHost host;
    root = host.root();
    EXPECT_EQ(host.home().string(), Env("ORBECK_HOME"));
    EXPECT_EQ(host.drivesFile().string(), Env("VELMORA_DRIVES"));
    EXPECT_EQ("(unset)", Env("VELMORA_FAULTS"));
    EXPECT_EQ("(unset)", Env("VELMORA_UI_SCRIPT"));
    EXPECT_EQ("(unset)", Env("VELMORA_UI_TRANSCRIPT"));
    EXPECT_EQ("Z: / fixed\nC: \"" + host.cDrive().string() + "\" fixed\n",
              velmora::test::ReadText(host.drivesFile()));
    EXPECT_TRUE(std::filesystem::is_directory(host.cDrive()));
  }
  EXPECT_FALSE(std::filesystem::exists(root));
  EXPECT_EQ("/before/home", Env("ORBECK_HOME"));
  EXPECT_EQ("(unset)", Env("VELMORA_DRIVES"));
  EXPECT_EQ("FileWrite", Env("VELMORA_FAULTS"));
  EXPECT_EQ("/before/script", Env("VELMORA_UI_SCRIPT"));
  unsetenv("ORBECK_HOME");
  unsetenv("VELMORA_FAULTS");
  unsetenv("VELMORA_UI_SCRIPT");
}

TEST(TestHost, MinimalCompanyIsSelectedByItsUserAndBalances) {
  TestHost host;
  ASSERT_TRUE(host.loaded());
  orbeck::store::test::StoreQuery q(host.storePath());
  EXPECT_EQ(
      1,
      q.Int("SELECT d.selected_no FROM data d, users u, session s WHERE s.current_user = u.user_id "
            "AND u.user_id = CAST('user1' AS BLOB) AND d.selected_no = u.selected_no AND d.data_id = 'D1'"));
  // 資産合計 (debit) against 負債・純資産合計 (credit) over the whole year: 620,000 yen each.
  const char* balance =
      "SELECT SUM(CASE side WHEN 'D' THEN amount ELSE -amount END) FROM sums "
      "WHERE amount_set = 1 AND account_code = ";
  EXPECT_EQ(6200000000, q.Int(std::string(balance) + "2990000"));
  EXPECT_EQ(-6200000000, q.Int(std::string(balance) + "6990000"));
}

TEST(TestHost, TwoHostsInOneTestUseSeparateFolders) {
  TestHost a(nullptr);
  TestHost b(nullptr);
  EXPECT_NE(a.root(), b.root());
  EXPECT_FALSE(a.loaded());
  EXPECT_EQ(b.home().string(), Env("ORBECK_HOME"));
}

}  // namespace

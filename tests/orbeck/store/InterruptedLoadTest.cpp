// Loads that end early: killed at any step (through the loader's kill points, which end
// orbeck-admin as a kill would), overlapping another load, or meeting links planted at
// their temporary names. The home must hold the old company or the new one, agreeing with
// its seal, and after the next load nothing but the store and its seal.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "orbeck/StoreSeal.h"
#include "orbeck/store/HomeLock.h"
#include "orbeck/store/HostDataLoader.h"
#include "orbeck/store/StoreFile.h"
#include "tests/orbeck/store/StoreQuery.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using orbeck::store::test::StoreQuery;
using velmora::test::TestHost;

constexpr int kKilled = 137;  // what the kill points exit with, as a shell shows a SIGKILL

std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

class InterruptedLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.loaded());
    std::ofstream(newDocument, std::ios::binary) << TestHost::LoadDemoCompany().dump();
    std::ofstream(oldDocument, std::ios::binary) << TestHost::MinimalCompany().dump();
  }

  // orbeck-admin's load of `document` with the fault set `faults`; its exit code.
  int AdminLoad(const fs::path& document, const std::string& faults) {
    setenv("VELMORA_FAULTS", faults.c_str(), 1);
    const int code =
        velmora::test::RunCommand(std::string(ORBECK_ADMIN_PATH) + " load " + document.string() + " --home " +
                                  host.home().string() + " >" + (host.root() / "out.txt").string() + " 2>&1");
    unsetenv("VELMORA_FAULTS");
    return code;
  }

  // The journals of the company in the store (1 old, 363 new), after the store passed the
  // full check of its pages and its seal, the one the runtime makes when it attaches.
  int64_t JournalsOfACheckedStore() {
    std::vector<std::string> problems;
    EXPECT_EQ(1, orbeck::store::CheckStore(host.storePath(), problems))
        << (problems.empty() ? "" : problems.front());
    return StoreQuery(host.storePath()).Int("SELECT COUNT(*) FROM journals");
  }

  TestHost host;  // the old company: MinimalCompany, one journal
  fs::path newDocument = host.root() / "new.json";
  fs::path oldDocument = host.root() / "old.json";
};

TEST_F(InterruptedLoad, KilledAtAnyStepLeavesOneSealedCompanyAndTheNextLoadTidiesUp) {
  struct Step {
    const char* point;
    int64_t journals;  // the company left in place: the old one's or the new one's
  };
  const Step steps[] = {{"journals-written", 1}, {"store-written", 1},   {"both-seal-written", 1},
                        {"both-sealed", 1},      {"store-renamed", 363}, {"new-seal-written", 363},
                        {"loaded", 363}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.point);
    ASSERT_TRUE(host.Load(TestHost::MinimalCompany()));
    ASSERT_EQ(kKilled, AdminLoad(newDocument, std::string("LoadCrash@") + step.point))
        << velmora::test::ReadText(host.root() / "out.txt");
    EXPECT_EQ(step.journals, JournalsOfACheckedStore());

    // The next load, killed itself while it narrows a seal left accepting two stores.
    ASSERT_EQ(kKilled, AdminLoad(oldDocument, "LoadCrash@tidy-seal-written,LoadCrash@journals-written"));
    EXPECT_EQ(step.journals, JournalsOfACheckedStore());

    ASSERT_EQ(0, AdminLoad(newDocument, "")) << velmora::test::ReadText(host.root() / "out.txt");
    EXPECT_EQ((std::set<std::string>{"orbeck.db", "orbeck.db.seal"}), NamesIn(host.home()));
    EXPECT_EQ(363, JournalsOfACheckedStore());
    const std::optional<std::vector<std::string>> seal =
        orbeck::SealLines(orbeck::SealPathOf(host.storePath()));
    ASSERT_TRUE(seal.has_value());
    EXPECT_EQ(1u, seal->size()) << "a settled seal accepts only the store in place";
  }
  EXPECT_EQ(
      "loaded 1 company, 125 accounts, 363 journals, 486 lines into " + host.storePath().string() + "\n",
      velmora::test::ReadText(host.root() / "out.txt"));
}

TEST_F(InterruptedLoad, ASecondLoadOfABusyHomeIsRefusedAndChangesNothing) {
  const std::string before = velmora::test::ReadBytes(host.storePath());
  std::string error;
  {
    orbeck::store::HomeLock running;
    ASSERT_TRUE(running.Take(host.home(), error)) << error;
    EXPECT_EQ(0, orbeck::store::LoadHostDataFile(newDocument, host.home(), error));
    EXPECT_EQ(host.home().string() + ": another load of this home is under way; load again once it has ended",
              error);
    EXPECT_EQ(1, AdminLoad(newDocument, ""));
    EXPECT_EQ(before, velmora::test::ReadBytes(host.storePath()));
    for (const std::string& name : NamesIn(host.home())) {
      EXPECT_EQ(std::string::npos, name.find(".tmp-")) << name << ": a refused load left a file";
    }
  }
  EXPECT_EQ(1, orbeck::store::LoadHostDataFile(newDocument, host.home(), error)) << error;
}

TEST_F(InterruptedLoad, LinksAtTheTemporaryNamesAreNeverFollowed) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine makes no symbolic links (docs/testing.md)";
#else
  const fs::path victim = host.root() / "victim.txt";
  std::ofstream(victim) << "keep";
  const std::string pid = std::to_string(getpid());
  // Planted before the load: the load removes them as a dead load's leftovers.
  fs::create_symlink(victim, host.home() / ("orbeck.db.tmp-" + pid));
  fs::create_symlink(victim, host.home() / ("orbeck.db.seal.tmp-" + pid));
  std::string error;
  EXPECT_EQ(1, orbeck::store::LoadHostDataFile(newDocument, host.home(), error)) << error;
  EXPECT_EQ(363, JournalsOfACheckedStore());
  EXPECT_EQ((std::set<std::string>{"orbeck.db", "orbeck.db.seal"}), NamesIn(host.home()));
  // Planted between the tidying and the writing: the new file is never the link's target.
  const fs::path link = host.home() / "planted";
  fs::create_symlink(victim, link);
  EXPECT_FALSE(orbeck::WriteNewFile(link, "overwritten", error));
  EXPECT_NE(std::string::npos, error.find("cannot be created")) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ("keep", velmora::test::ReadBytes(victim));
#endif
}

}  // namespace

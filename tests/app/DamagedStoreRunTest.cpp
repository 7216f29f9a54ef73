// Runs over a store with one damaged page, every page in turn and two kinds of damage: no
// run may end 0 with a document other than the intact store's, and the full check of
// orbeck-admin finds every damage.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "orbeck/store/StoreFile.h"
#include "tests/app/RunFixture.h"
#include "tests/support/TestFiles.h"

using velmora::test::ExecuteScript;
using velmora::test::RunFixture;

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

TEST(DamagedStoreRun, NoDamagedPageGivesADifferentDocument) {
  RunFixture run;
  const std::filesystem::path store = run.host.home() / "orbeck.db";
  const std::string intact = velmora::test::ReadBytes(store);
  ASSERT_EQ(0, run.Run("", ExecuteScript()));
  const std::string reference = velmora::test::ReadBytes(run.COut() / "a.xml");
  std::filesystem::remove(run.COut() / "a.xml");

  const std::size_t pageSize = 4096;
  ASSERT_EQ(0u, intact.size() % pageSize);
  std::size_t runs = 0;
  for (std::size_t page = 0; page < intact.size() / pageSize; ++page) {
    for (int kind = 0; kind < 2; ++kind) {
      SCOPED_TRACE("page " + std::to_string(page) + (kind == 0 ? ", zeroed" : ", bytes flipped"));
      std::string damaged = intact;
      for (std::size_t at = page * pageSize; at < (page + 1) * pageSize; ++at) {
        if (kind == 0) damaged[at] = 0;
        if (kind == 1 && at % 97 == 13) damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
      }
      if (damaged == intact) continue;
      WriteText(store, damaged);
      std::vector<std::string> problems;
      EXPECT_EQ(0, orbeck::store::CheckStore(store, problems));
      const int exitCode = run.Run("", ExecuteScript());
      if (exitCode == 0) {
        EXPECT_TRUE(velmora::test::ReadBytes(run.COut() / "a.xml") == reference)
            << "a damaged store gave another document";
      } else {
        EXPECT_FALSE(std::filesystem::exists(run.COut() / "a.xml"));
      }
      std::filesystem::remove(run.COut() / "a.xml");
      ++runs;
    }
  }
  WriteText(store, intact);
  std::vector<std::string> problems;
  EXPECT_EQ(1, orbeck::store::CheckStore(store, problems)) << (problems.empty() ? "" : problems[0]);
  EXPECT_GT(runs, 10u);
}

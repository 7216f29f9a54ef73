// Fault sets: matching on point and detail, the #N threshold, several entries, and the
// one-time read of VELMORA_FAULTS.
#include "platform/Faults.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace faults = platform::faults;

namespace {

class FaultsTest : public ::testing::Test {
 protected:
  void TearDown() override { faults::Clear(); }
};

TEST_F(FaultsTest, PointMustMatchExactlyAndDetailIsASubstring) {
  faults::Set("FileWrite@Out\\a.xml");
  EXPECT_FALSE(faults::Hit("FileWrit", "C:\\Out\\a.xml"));
  EXPECT_FALSE(faults::Hit("FileWriteX", "C:\\Out\\a.xml"));
  EXPECT_FALSE(faults::Hit("FileWrite", "C:\\Out\\b.xml"));
  EXPECT_FALSE(faults::Hit("FileWrite"));
  EXPECT_TRUE(faults::Hit("FileWrite", "C:\\Out\\a.xml"));
  EXPECT_TRUE(faults::Hit("FileWrite", "C:\\Out\\a.xml"));
}

TEST_F(FaultsTest, WithoutDetailEveryHitOfThePointFires) {
  faults::Set("CreateDirectoryA");
  EXPECT_TRUE(faults::Hit("CreateDirectoryA", "C:\\x"));
  EXPECT_TRUE(faults::Hit("CreateDirectoryA"));
  EXPECT_FALSE(faults::Hit("DeleteFileA", "C:\\x"));
}

TEST_F(FaultsTest, CountFiresFromTheNthMatchingHitOn) {
  faults::Set("FileWrite@a.xml#3");
  EXPECT_FALSE(faults::Hit("FileWrite", "a.xml"));
  EXPECT_FALSE(faults::Hit("FileWrite", "b.xml"));  // not matching: not counted
  EXPECT_FALSE(faults::Hit("FileWrite", "a.xml"));
  EXPECT_TRUE(faults::Hit("FileWrite", "a.xml"));
  EXPECT_TRUE(faults::Hit("FileWrite", "a.xml"));
}

TEST_F(FaultsTest, SeveralEntriesAreIndependent) {
  faults::Set("FileCreate#2,MoveFileReplace@tmp");
  EXPECT_FALSE(faults::Hit("MoveFileReplace", "C:\\a.xml"));
  EXPECT_TRUE(faults::Hit("MoveFileReplace", "C:\\a.tmp"));
  EXPECT_FALSE(faults::Hit("FileCreate", "x"));
  EXPECT_TRUE(faults::Hit("FileCreate", "y"));
}

TEST_F(FaultsTest, SetResetsCountersAndClearRemovesEverything) {
  faults::Set("FileCreate#2");
  EXPECT_FALSE(faults::Hit("FileCreate"));
  faults::Set("FileCreate#2");
  EXPECT_FALSE(faults::Hit("FileCreate"));
  EXPECT_TRUE(faults::Hit("FileCreate"));
  faults::Clear();
  EXPECT_FALSE(faults::Hit("FileCreate"));
}

TEST_F(FaultsTest, MalformedEntriesDoNotFire) {
  faults::Set("FileCreate#0,FileWrite#x,@detail,,DeleteFileA#");
  EXPECT_FALSE(faults::Hit("FileCreate"));
  EXPECT_FALSE(faults::Hit("FileWrite"));
  EXPECT_FALSE(faults::Hit("", "detail"));
  EXPECT_FALSE(faults::Hit("DeleteFileA"));
}

TEST_F(FaultsTest, AHashInsideADetailIsNotACount) {
  faults::Set(" FileWrite@C:\\#1.xml , FileCreate@a#b#2");
  EXPECT_TRUE(faults::Hit("FileWrite", "C:\\#1.xml"));
  EXPECT_FALSE(faults::Hit("FileWrite", "C:\1.xml"));
  EXPECT_FALSE(faults::Hit("FileCreate", "a#b"));
  EXPECT_TRUE(faults::Hit("FileCreate", "a#b"));
}

// The environment is read at the first use in a process, so the check runs in a fresh
// child process (the thread-safe death-test style re-executes the test binary).
TEST(FaultsEnvironmentTest, EnvironmentIsReadAtFirstUse) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("VELMORA_FAULTS", "FileWrite@b.xml#2", 1);
        bool first = faults::Hit("FileWrite", "C:\\b.xml");
        bool second = faults::Hit("FileWrite", "C:\\b.xml");
        std::exit(!first && second ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

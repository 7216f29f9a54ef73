// The saved-document reads of the selected data, through the runtime.
#include <gtest/gtest.h>

#include "platform/Faults.h"
#include "runstate/SavedNotesReader.h"
#include "runtime/Connect.h"
#include "runtime/Managers.h"
#include "tests/support/TestHost.h"

using velmora::test::TestHost;

namespace {

// Two data records; the user selects the second, whose documents are the ones to read.
nlohmann::json TwoData(const nlohmann::json& selectedDocuments) {
  nlohmann::json company = TestHost::MinimalCompany();
  nlohmann::json other = company["data"][0];
  other["dataId"] = "D2";
  other["selectedNo"] = 2;
  other["savedDocuments"] = selectedDocuments;
  company["data"][0]["savedDocuments"] = {
      {"0", "Note=0\r\n"}, {"100", "InputMode=0\r\n[Note_0]\r\nDisp=9\r\n"}, {"1000", "wrong data"}};
  company["data"].push_back(other);
  company["users"][0]["selectedNo"] = 2;
  return company;
}

class SavedNotesReaderTest : public ::testing::Test {
 protected:
  explicit SavedNotesReaderTest(
      const nlohmann::json& documents =
          {{"0", "Title=x\r\nNote=1\r\n"},
           {"100", "InputMode = 2\r\n[Note_0]\r\nDisp=1\r\n[Note_1]\r\nDisp=0\r\n[Note_2]\r\nDisp=1\r\n"},
           {"1000", "A&amp;B\r\n\r\nC"}})
      : host(TwoData(documents)) {}
  void SetUp() override { ASSERT_EQ(0, ClAccConnect::Inst().Initiate()); }
  void TearDown() override {
    platform::faults::Clear();
    ClAccConnect::Inst().Release();
  }

  TestHost host;
  ReadFailure failure;
  SavedNotesReader reader{failure};
};

}  // namespace

TEST_F(SavedNotesReaderTest, ReadsTheSelectedDataDocuments) {
  EXPECT_TRUE(reader.IsInputModeOn());
  EXPECT_TRUE(reader.IsNoteOn());
  uint8_t flags[kNoteDispFlagCount] = {};
  reader.ReadNoteDispFlags(flags);
  EXPECT_EQ(1, flags[0]);
  EXPECT_EQ(0, flags[1]);
  EXPECT_EQ(1, flags[2]);
  std::string text = "stale";
  EXPECT_EQ(1, reader.ReadNotesText(text));
  EXPECT_EQ("A&amp;B\r\n\r\nC", text);
  std::vector<std::string> lines;
  LoadNoteLines(text, lines);
  EXPECT_EQ((std::vector<std::string>{"A&B", "", "C"}), lines);
}

TEST_F(SavedNotesReaderTest, DeliveredBufferIsTheCallers) {
  void* buffer = nullptr;
  long length = 0;
  ASSERT_EQ(1, reader.ReadSavedData(1000, &buffer, &length));
  ASSERT_NE(nullptr, buffer);
  EXPECT_EQ("A&amp;B\r\n\r\nC", std::string(static_cast<const char*>(buffer)));
  CoTaskMemFree(buffer);
}

TEST_F(SavedNotesReaderTest, FailedReadsAreAbsentValues) {
  platform::faults::Set("ClSaveKessansho::GetDataType02");
  void* buffer = reinterpret_cast<void*>(0x1);
  long length = 5;
  EXPECT_EQ(0, reader.ReadSavedData(1000, &buffer, &length));
  EXPECT_EQ(nullptr, buffer);
  EXPECT_FALSE(reader.IsInputModeOn());
  EXPECT_FALSE(reader.IsNoteOn());
  uint8_t flags[kNoteDispFlagCount] = {};
  reader.ReadNoteDispFlags(flags);
  EXPECT_EQ(0, flags[0]);
  std::string text = "stale";
  EXPECT_EQ(1, reader.ReadNotesText(text));
  EXPECT_EQ("", text);
}

TEST_F(SavedNotesReaderTest, KindNotStoredIsNoBuffer) {
  void* buffer = nullptr;
  long length = 0;
  EXPECT_EQ(0, reader.ReadSavedData(7, &buffer, &length));
  EXPECT_EQ(nullptr, buffer);
}

class SavedNotesWithoutInputMode : public SavedNotesReaderTest {
 protected:
  SavedNotesWithoutInputMode() : SavedNotesReaderTest({{"0", "Note="}, {"100", "[Note_0]\r\nDisp=1\r\n"}}) {}
};

TEST_F(SavedNotesWithoutInputMode, NeitherFlagHolds) {
  EXPECT_FALSE(reader.IsInputModeOn());
  EXPECT_FALSE(reader.IsNoteOn());
  std::string text = "stale";
  EXPECT_EQ(1, reader.ReadNotesText(text));
  EXPECT_EQ("", text);
}

// Attaching to the host installation, the runtime's messages, the life-cycle order and
// that a whole read session leaves the store file untouched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "orbeck/RuntimeCallLog.h"
#include "orbeck/RuntimeStatus.h"
#include "platform/Faults.h"
#include "platform/ui/RecordingBackend.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/orbeck/runtime/RuntimeWorld.h"

namespace orbeck::test {
namespace {

class ConnectTest : public RuntimeWorld {
 protected:
  platform::RecordingBackend& UseRecordingUi() {
    auto backend = std::make_unique<platform::RecordingBackend>();
    platform::RecordingBackend& ref = *backend;
    platform::SetUi(std::move(backend));
    return ref;
  }
};

TEST_F(ConnectTest, InitiateReportsEachReasonTheStoreIsUnusable) {
  ::setenv("ORBECK_HOME", (root_ / "nowhere").string().c_str(), 1);
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kNoHome);
  EXPECT_FALSE(ClAccConnect::Inst().IsAttached());

  ::setenv("ORBECK_HOME", home_.string().c_str(), 1);
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kNoStore);

  std::ofstream(home_ / "orbeck.db") << "this is not a database, only some text long enough";
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kOpenFailed);

  std::filesystem::remove(home_ / "orbeck.db");
  BuildStandardStore("PRAGMA user_version = 1;");
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kWrongSchema);
  EXPECT_FALSE(ClAccConnect::Inst().IsAttached());

  ExecOnStore("PRAGMA user_version = 2;");
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), 0);
  EXPECT_TRUE(ClAccConnect::Inst().IsAttached());

  // A newer loader's format may mean what this runtime would misread.
  ExecOnStore("INSERT INTO meta VALUES ('format_version', 3);");
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kWrongSchema);
  ExecOnStore("UPDATE meta SET value = 2 WHERE key = 'format_version';");
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), 0);

  // Any byte changed behind the loader's back, or a store without its seal, is refused.
  std::string bytes = ReadStoreBytes();
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 1);
  std::ofstream(home_ / "orbeck.db", std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kDamagedStore);
  ExecOnStore("");
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), 0);
  std::filesystem::remove(home_ / "orbeck.db.seal");
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kDamagedStore);
}

TEST_F(ConnectTest, InjectedInitiateFaultFailsAFineStore) {
  BuildStandardStore();
  platform::faults::Set("Initiate");
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), kStoreError);
  platform::faults::Clear();
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), 0);
}

TEST_F(ConnectTest, ExpSysLinkComesFromTheStoreOrIsGo) {
  EXPECT_EQ(ClAccConnect::Inst().ExpSysLink(), kNotAttached);
  AttachStandard();
  EXPECT_EQ(ClAccConnect::Inst().ExpSysLink(), 0);
  ClAccConnect::Inst().Terminate();
  ExecOnStore("INSERT INTO meta VALUES ('exp_sys_link', 1);");
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  EXPECT_EQ(ClAccConnect::Inst().ExpSysLink(), 1);
}

TEST_F(ConnectTest, DispMsgReplacesEveryTokenByThePackageName) {
  AttachStandard();
  platform::RecordingBackend& ui = UseRecordingUi();
  const std::string package = "\x82\x6e\x82\x92\x82\x82\x82\x85\x82\x83\x82\x8b\x82\x51\x82\x50";
  // The 0x5C second byte of ソ must not disturb the scan.
  std::string text =
      "\x83\x5c"
      "ES_APRPACKAGENAME\nES_APRPACKAGENAMEES_APRPACKAGENAME.";
  int answer = ClAccConnect::Inst().DispMsg(42, text, "cap", platform::MB_OK | platform::MB_ICONEXCLAMATION);
  EXPECT_EQ(answer, platform::IDOK);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "\x83\x5c" + package + "\n" + package + package + ".");
  EXPECT_EQ(ui.boxes[0].caption, "cap");
  EXPECT_EQ(ui.boxes[0].owner, 42);
  EXPECT_EQ(ui.boxes[0].type, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

TEST_F(ConnectTest, FatalRangeIsReportedAndShownOnlyWhenAsked) {
  platform::RecordingBackend& ui = UseRecordingUi();
  ClMsgMgr& messages = ClMsgMgr::Inst();
  EXPECT_FALSE(messages.CheckFatalErrorWithMsg(0, 0, 1, 0));
  EXPECT_FALSE(messages.CheckFatalErrorWithMsg(kEndOfRows, 0, 1, 0));
  EXPECT_FALSE(messages.CheckFatalErrorWithMsg(8999, 0, 1, 0));
  EXPECT_TRUE(messages.CheckFatalErrorWithMsg(9000, 0, 0, 0));
  EXPECT_TRUE(messages.CheckFatalErrorWithMsg(9999, 0, 0, 0));
  EXPECT_FALSE(messages.CheckFatalErrorWithMsg(10000, 0, 1, 0));
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(messages.CheckFatalErrorWithMsg(kStoreError, 0, 1, 7));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_NE(ui.boxes[0].text.find("9001"), std::string::npos) << ui.boxes[0].text;
  EXPECT_EQ(ui.boxes[0].owner, 7);
  // Without an owner the connection's owner window and caption are used.
  ClAccConnect::Inst().caption = "cap";
  ClAccConnect::Inst().ownerWindow = 5;
  EXPECT_TRUE(messages.CheckFatalErrorWithMsg(kNotAttached, 0, 1, 0));
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].owner, 5);
  EXPECT_EQ(ui.boxes[1].caption, "cap");
  EXPECT_EQ(ui.boxes[1].type, platform::MB_OK | platform::MB_ICONEXCLAMATION);

  messages.SetLastError(kStoreError, "CmnProcHpr FindEra");
  EXPECT_EQ(messages.LastError(), kStoreError);
  EXPECT_EQ(messages.LastErrorPlace(), "CmnProcHpr FindEra");
}

TEST_F(ConnectTest, ShutdownCallsWorkInAnyStateAndAreLoggedInOrder) {
  ClearCallLog();
  ClAccConnect& connect = ClAccConnect::Inst();
  EXPECT_EQ(connect.Initiate(), kNoStore);
  EXPECT_EQ(connect.LogOut(), 0);
  EXPECT_EQ(connect.Terminate(), 0);
  EXPECT_EQ(connect.Release(), 0);
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Initiate", "LogOut", "Terminate", "Release"}));

  // After Release the same process attaches afresh, with the state of before reset.
  connect.caption = "x";
  connect.SetAppType(ClSysEnvMgr::AppCare);
  AttachStandard();
  connect.Release();
  EXPECT_EQ(connect.AppType(), 0);
  EXPECT_TRUE(connect.caption.empty());
  EXPECT_FALSE(connect.IsAttached());
  EXPECT_EQ(connect.Initiate(), 0);
  StDATAINFO info{};
  auto* data = static_cast<ClSetData*>(ClDataMgr::Inst().GetSetObject(5, 1));
  EXPECT_EQ(data->GetSelectedInfo(&info), 0);
  EXPECT_STREQ(info.dataId, "DEMO01");
}

TEST_F(ConnectTest, TerminateClosesTheStoreForEveryReader) {
  AttachStandard();
  auto* data = static_cast<ClSetData*>(ClDataMgr::Inst().GetSetObject(5, 1));
  long cursor = 0;
  ASSERT_EQ(data->GetDatCursor(&cursor), 0);
  ASSERT_EQ(data->ReadyDat(cursor, 0), 0);
  ClAccConnect::Inst().Terminate();
  StDATAINFO info{};
  EXPECT_EQ(data->GetSelectedInfo(&info), kNotAttached);
  // The cursor belonged to the closed session.
  EXPECT_NE(data->WalkDat(cursor, &info), 0);
}

// Single-row reads must not keep a read open: the host may update its store meanwhile.
TEST_F(ConnectTest, NoReadStaysOpenBetweenCalls) {
  AttachStandard();
  StDATAINFO info{};
  ASSERT_EQ(static_cast<ClSetData*>(ClDataMgr::Inst().GetSetObject(5, 1))->GetSelectedInfo(&info), 0);
  char user[65];
  ASSERT_EQ(ClDataMgr::Inst().GetSysUserObject()->GetCurUserID(user), 0);
  EXPECT_EQ(ClAccConnect::Inst().ExpSysLink(), 0);
  ExecOnStore("INSERT INTO meta VALUES ('exp_sys_link', 3);");
  EXPECT_EQ(ClAccConnect::Inst().ExpSysLink(), 3);
}

// Every read the program makes, once; the store file must come out byte for byte as it went in.
TEST_F(ConnectTest, AFullReadSessionNeverWritesTheStore) {
  BuildStandardStore();
  const std::string before = ReadStoreBytes();
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  ClAccConnect::Inst().ExpSysLink();
  auto* data = static_cast<ClSetData*>(ClDataMgr::Inst().GetSetObject(5, 1));
  StDATAINFO info{};
  ASSERT_EQ(data->GetSelectedInfo(&info), 0);
  ClRuleKamoku balances;
  balances.SetCurDataID(info.dataId);
  ASSERT_EQ(balances.MoveReady(1, 0, 0, nullptr, nullptr, 0), 0);
  StKAMOKUSUMINFO row{};
  long rows = 0;
  while (balances.MoveNext(&row) == 0) {
    ClRuleMotocho ledger;
    ledger.SetCurDataID(info.dataId);
    StMOTOCHOHYOJIINFO view{};
    view.accountCode = row.accountCode;
    view.startDate = 20240401;
    view.endDate = 20250331;
    ASSERT_EQ(ledger.MoveReady(nullptr, nullptr, &view), 0);
    StMOTOCHOINFO posting{};
    while (ledger.MoveNext(&posting) == 0) {
    }
    ++rows;
  }
  EXPECT_EQ(rows, 6);
  ClSaveKessansho saved;
  saved.SetCurDataID(info.dataId);
  void* buffer = nullptr;
  long length = 0;
  ASSERT_EQ(saved.GetDataType02(1000, &buffer, &length), 0);
  CoTaskMemFree(buffer);
  ClAccConnect::Inst().LogOut();
  ClAccConnect::Inst().Terminate();
  ClAccConnect::Inst().Release();
  EXPECT_TRUE(before == ReadStoreBytes());
  EXPECT_FALSE(std::filesystem::exists(home_ / "orbeck.db-journal"));
  EXPECT_FALSE(std::filesystem::exists(home_ / "orbeck.db-wal"));
}

}  // namespace
}  // namespace orbeck::test

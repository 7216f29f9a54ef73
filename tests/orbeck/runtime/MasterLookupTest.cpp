// The account master lookups, the era master and the saved documents.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "orbeck/RuntimeStatus.h"
#include "platform/Faults.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/orbeck/runtime/RuntimeWorld.h"

namespace orbeck::test {
namespace {

class MasterLookupTest : public RuntimeWorld {
 protected:
  void SetUp() override {
    RuntimeWorld::SetUp();
    AttachStandard();
  }

  // The lookup the ledger pass makes: one equality on the full account code.
  long Lookup(int32_t code, StKAMOKUINFO& info) {
    auto& accounts = *static_cast<ClSetKamoku*>(ClDataMgr::Inst().GetSetObject(1, 1));
    StFINDINFO find{};
    find.cond[0].item = 2;
    find.cond[0].comparison = 1;
    find.cond[0].valueType = 3;
    find.cond[0].longValue = code;
    long cursor = 0;
    EXPECT_EQ(accounts.GetCursor(&cursor), 0);
    EXPECT_EQ(accounts.ReadyCursor(cursor, &find), 0);
    long status = accounts.WalkFind(cursor, &info);
    EXPECT_EQ(accounts.ReleaseCursor(cursor), 0);
    return status;
  }
};

TEST_F(MasterLookupTest, AccountsAndSubAccountsByFullCode) {
  StKAMOKUINFO info;
  std::memset(&info, 0xEE, sizeof info);
  ASSERT_EQ(Lookup(1110003, info), 0);
  EXPECT_EQ(info.accountCode, 1110003);
  EXPECT_EQ(std::string(info.name, 30),
            std::string("\x8f\xac\x8c\xfb\x8c\xbb\x8b\xe0") + std::string(22, '\0'));
  EXPECT_EQ(std::string(info.secondName, 30), std::string(30, '\0'));
  ASSERT_EQ(Lookup(3350000, info), 0);
  EXPECT_EQ(static_cast<uint32_t>(info.accountCharacter), 0x80484010u);
  EXPECT_EQ(info.debitNature, 0);
  // Accounts that are not balance rows are in the master too.
  ASSERT_EQ(Lookup(8000000, info), 0);
  EXPECT_EQ(info.kind, 1);
  EXPECT_EQ(Lookup(1110001, info), kNotFound);
  EXPECT_EQ(Lookup(111, info), kNotFound);
}

TEST_F(MasterLookupTest, MasterFollowsTheSelectedData) {
  ClAccConnect::Inst().Terminate();
  ExecOnStore("UPDATE users SET selected_no = 1 WHERE CAST(user_id AS TEXT) = 'admin';");
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  StKAMOKUINFO info{};
  ASSERT_EQ(Lookup(1110000, info), 0);
  EXPECT_EQ(std::string(info.name), "Cash");
  EXPECT_EQ(Lookup(1310000, info), kNotFound);
}

TEST_F(MasterLookupTest, ErasAscendWithTheirNames) {
  auto& eras = *static_cast<ClSetGengo*>(ClDataMgr::Inst().GetSetMgr()->GetSetObject(13, 0));
  long cursor = 0;
  ASSERT_EQ(eras.GetCursor(&cursor), 0);
  ASSERT_EQ(eras.Ready(cursor), 0);
  std::vector<int32_t> firstDays;
  std::vector<std::string> names;
  StGENGOINFO era;
  std::memset(&era, 0xEE, sizeof era);
  long status = 0;
  while ((status = eras.Walk(&era, cursor)) == 0) {
    firstDays.push_back(era.firstDay);
    names.emplace_back(era.name, sizeof era.name);
  }
  EXPECT_EQ(status, kEndOfRows);
  EXPECT_FALSE(ClMsgMgr::Inst().CheckFatalErrorWithMsg(status, 0, 0, 0));
  EXPECT_EQ(eras.ReleaseCursor(cursor), 0);
  EXPECT_EQ(firstDays, (std::vector<int32_t>{19261225, 19890108, 20190501}));
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[1], std::string("\x95\xbd\x90\xac") + std::string(12, '\0'));
  EXPECT_EQ(names[2], std::string("\x97\xdf\x98\x61") + std::string(12, '\0'));
}

TEST_F(MasterLookupTest, EraWalkFaultIsFatal) {
  auto& eras = *static_cast<ClSetGengo*>(ClDataMgr::Inst().GetSetMgr()->GetSetObject(13, 0));
  long cursor = 0;
  ASSERT_EQ(eras.GetCursor(&cursor), 0);
  ASSERT_EQ(eras.Ready(cursor), 0);
  platform::faults::Set("ClSetGengo::Walk#2");
  StGENGOINFO era{};
  EXPECT_EQ(eras.Walk(&era, cursor), 0);
  long status = eras.Walk(&era, cursor);
  EXPECT_EQ(status, kStoreError);
  EXPECT_TRUE(ClMsgMgr::Inst().CheckFatalErrorWithMsg(status, 0, 0, 0));
  eras.ReleaseCursor(cursor);
}

TEST_F(MasterLookupTest, EmptySavedDocumentIsAnEmptyTerminatedBuffer) {
  ExecOnStore("INSERT INTO saved_documents VALUES ('DEMO01', 100, X'')");
  ClSaveKessansho saved;
  saved.AttachSetMgr(ClDataMgr::Inst().GetSetMgr());
  saved.SetCurDataID("DEMO01");
  void* buffer = nullptr;
  long length = -1;
  ASSERT_EQ(saved.GetDataType02(SaveKessanshoKind_NoteSettings, &buffer, &length), 0);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(static_cast<char*>(buffer)[0], '\0');
  CoTaskMemFree(buffer);
}

TEST_F(MasterLookupTest, SavedDocumentsAreFreshTerminatedCopies) {
  ClSaveKessansho saved;
  saved.AttachSetMgr(ClDataMgr::Inst().GetSetMgr());
  saved.SetCurDataID("DEMO01");
  void* first = nullptr;
  void* second = nullptr;
  long length = 0;
  ASSERT_EQ(saved.GetDataType02(SaveKessanshoKind_Settings, &first, &length), 0);
  EXPECT_EQ(length, 8);
  EXPECT_EQ(std::string(static_cast<char*>(first), 9), std::string("Note=1\r\n\0", 9));
  ASSERT_EQ(saved.GetDataType02(SaveKessanshoKind_NoteText, &second, &length), 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(length, 10);
  EXPECT_EQ(std::string(static_cast<char*>(second)), "\x8c\xbb\x8b\xe0\r\n<ID>");
  CoTaskMemFree(first);
  CoTaskMemFree(second);
  CoTaskMemFree(nullptr);

  void* none = reinterpret_cast<void*>(1);
  length = 5;
  EXPECT_EQ(saved.GetDataType02(SaveKessanshoKind_NoteSettings, &none, &length), kNotFound);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(length, 0);

  platform::faults::Set("ClSaveKessansho::GetDataType02@1000");
  EXPECT_EQ(saved.GetDataType02(SaveKessanshoKind_NoteText, &none, &length), kStoreError);
  EXPECT_EQ(none, nullptr);
  ASSERT_EQ(saved.GetDataType02(SaveKessanshoKind_Settings, &first, &length), 0);
  CoTaskMemFree(first);
}

}  // namespace
}  // namespace orbeck::test

// The data list, the current user, the consumption-tax settings and the host folders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orbeck/RuntimeStatus.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/orbeck/runtime/RuntimeWorld.h"

namespace orbeck::test {
namespace {

ClSetData& DataSet() { return *static_cast<ClSetData*>(ClDataMgr::Inst().GetSetObject(5, 1)); }

template <typename T>
void Put(std::vector<unsigned char>& bytes, std::size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// The first offset where two records differ, or -1.
long FirstDifference(const void* a, const void* b, std::size_t size) {
  auto* x = static_cast<const unsigned char*>(a);
  auto* y = static_cast<const unsigned char*>(b);
  for (std::size_t i = 0; i < size; ++i)
    if (x[i] != y[i]) return static_cast<long>(i);
  return -1;
}

using DataSetTest = RuntimeWorld;

TEST_F(DataSetTest, SelectedRecordIsLaidOutByteForByte) {
  AttachStandard();
  StDATAINFO info;
  std::memset(&info, 0xEE, sizeof info);
  ASSERT_EQ(DataSet().GetSelectedInfo(&info), 0);

  // The record as the host lays it out, built from offsets alone.
  std::vector<unsigned char> expected(1506, 0);
  std::memcpy(expected.data(), "DEMO01", 6);
  Put<int32_t>(expected, 16, 2);
  const char company[] = "\x8a\x94\x8e\xae\x89\xef\x8e\xd0\x83\x78\x83\x8b\x83\x82\x83\x89";
  std::memcpy(expected.data() + 24, company, sizeof company - 1);
  Put<int32_t>(expected, 284, 20240401);
  Put<int32_t>(expected, 288, 20250331);
  Put<int32_t>(expected, 292, 31);
  Put<int32_t>(expected, 300, 1);
  Put<int32_t>(expected, 304, 1);
  Put<int16_t>(expected, 326, 4);
  expected[876] = 1;
  EXPECT_EQ(FirstDifference(&info, expected.data(), expected.size()), -1);
}

TEST_F(DataSetTest, CursorWalksTheDataInStoredOrder) {
  AttachStandard();
  long cursor = 0;
  ASSERT_EQ(DataSet().GetDatCursor(&cursor), 0);
  ASSERT_EQ(DataSet().ReadyDat(cursor, 0), 0);
  std::vector<std::string> ids;
  std::vector<int32_t> numbers;
  StDATAINFO info{};
  long status = 0;
  while ((status = DataSet().WalkDat(cursor, &info)) == 0) {
    ids.emplace_back(info.dataId);
    numbers.push_back(info.selectedNo);
  }
  EXPECT_NE(status, 0);
  EXPECT_EQ(ids, (std::vector<std::string>{"DEMO01", "OTHER01"}));
  EXPECT_EQ(numbers, (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(info.introMonthIndex, 99);  // the second record's own fields, not the first's
  EXPECT_EQ(info.companiesActReady, 0);
  EXPECT_EQ(DataSet().ReleaseDatCursor(cursor), 0);
  EXPECT_NE(DataSet().WalkDat(cursor, &info), 0);
}

TEST_F(DataSetTest, LongCompanyNameKeepsItsTerminator) {
  std::string name(300, 'A');
  BuildStandardStore("UPDATE data SET company_name = CAST('" + name + "' AS BLOB) WHERE data_id = 'DEMO01';");
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  StDATAINFO info{};
  ASSERT_EQ(DataSet().GetSelectedInfo(&info), 0);
  EXPECT_EQ(std::string(info.companyName), std::string(259, 'A'));
  EXPECT_EQ(info.periodStart, 20240401);
}

TEST_F(DataSetTest, CurrentUserAndSelection) {
  AttachStandard();
  ClSysUser& user = *ClDataMgr::Inst().GetSysUserObject();
  char id[65];
  std::memset(id, 'x', sizeof id);
  ASSERT_EQ(user.GetCurUserID(id), 0);
  EXPECT_STREQ(id, "admin");
  EXPECT_EQ(id[64], 0);
  long first = 0, second = 0;
  ASSERT_EQ(user.GetSelectedNo(id, &first, &second), 0);
  EXPECT_EQ(first, 7);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(user.GetSelectedNo("nobody", &first, &second), kNotFound);
}

TEST_F(DataSetTest, NoSelectionMatchesNoData) {
  BuildStandardStore("UPDATE users SET selected_no = 9;");
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  StDATAINFO info{};
  EXPECT_EQ(DataSet().GetSelectedInfo(&info), kNotFound);
  EXPECT_EQ(DataSet().GetAccPeriod(), nullptr);
}

TEST_F(DataSetTest, AccountingPeriodOfTheSelectedData) {
  BuildStandardStore(
      "UPDATE data SET period_start = 20240421, period_end = 20250420, closing_day = 20 "
      "WHERE data_id = 'DEMO01';");
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
  ClAccPeriod* period = DataSet().GetAccPeriod();
  ASSERT_NE(period, nullptr);
  long first = 0, last = 0;
  ASSERT_EQ(period->GetPeriodByMonthKind(1, &first, &last), 0);
  EXPECT_EQ(first, 20240421);
  EXPECT_EQ(last, 20240520);
}

TEST_F(DataSetTest, TaxSettingsAreReadOnlyWhereTheDataHasThem) {
  AttachStandard();
  auto& tax = *static_cast<ClSetShohizei*>(ClDataMgr::Inst().GetSetObject(4, 1));
  tax.AttachSetMgr(ClDataMgr::Inst().GetSetMgr());
  StSHOHIZEIINFO info;
  std::memset(&info, 0xEE, sizeof info);
  tax.SetCurDataID("DEMO01");
  ASSERT_EQ(tax.Get(&info), 0);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&info);
  EXPECT_EQ(info.taxMethod, 2);
  EXPECT_EQ(bytes[5], 1);
  EXPECT_EQ(bytes[4], 0);
  tax.SetCurDataID("OTHER01");
  EXPECT_EQ(tax.Get(&info), kNotFound);
}

TEST_F(DataSetTest, UnknownSetKindsAreNone) {
  EXPECT_EQ(ClDataMgr::Inst().GetSetObject(2, 1), nullptr);
  EXPECT_EQ(ClDataMgr::Inst().GetSetMgr()->GetSetObject(12, 0), nullptr);
  EXPECT_NE(dynamic_cast<ClSetKamoku*>(ClDataMgr::Inst().GetSetObject(1, 1)), nullptr);
  EXPECT_NE(dynamic_cast<ClSetGengo*>(ClDataMgr::Inst().GetSetMgr()->GetSetObject(13, 0)), nullptr);
}

}  // namespace
}  // namespace orbeck::test

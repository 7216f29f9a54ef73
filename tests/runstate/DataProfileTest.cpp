// The reads of the selected data over a loaded store: the profile record chosen by the
// user's selected number, the zero profile when none matches, and the consumption-tax head.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "runstate/DataProfile.h"
#include "tests/aggregate/EngineHost.h"

namespace {

// Two data records; the user selects the second one.
nlohmann::json TwoCompanies(int selectedNo) {
  nlohmann::json document = BaseDocument();
  nlohmann::json second = DataOf(document);
  second["dataId"] = "TEST02";
  second["selectedNo"] = 2;
  second["companyName"] = "第二商事株式会社";
  second["periodStart"] = 20240101;
  second["periodEnd"] = 20241231;
  second["patternFlag"] = 1;
  second["interimClosing"] = 1;
  second["introMonthIndex"] = 99;
  second["companiesActReady"] = 0;
  second["tax"] = {{"method", 1}, {"amountBasis", 1}};
  document["data"].push_back(second);
  document["users"][0]["selectedNo"] = selectedNo;
  return document;
}

DataProfile Filled(unsigned char byte) {
  DataProfile profile;
  std::memset(&profile, byte, sizeof profile);
  return profile;
}

bool AllZero(const DataProfile& profile) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&profile);
  for (std::size_t i = 0; i < sizeof profile; ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

TEST(DataProfile, SelectedRecordIsCopiedWhole) {
  EngineHost host(TwoCompanies(2));
  ASSERT_TRUE(host.ok()) << host.error();
  DataProfile profile = Filled(0xA5);
  ClSetData* dataSet = nullptr;
  ASSERT_EQ(1, ReadDataProfile(profile, dataSet));
  EXPECT_NE(nullptr, dataSet) << "the data set is kept for the process";
  EXPECT_EQ("TEST02", std::string(profile.dataId));
  EXPECT_EQ(2, profile.selectedNo);
  EXPECT_EQ(Cp932("第二商事株式会社"), std::string(profile.companyName));
  EXPECT_EQ(20240101, profile.periodStart);
  EXPECT_EQ(20241231, profile.periodEnd);
  EXPECT_EQ(1, profile.patternFlag);
  EXPECT_EQ(1, profile.interimClosing);
  EXPECT_EQ(99, profile.introMonthIndex);
  EXPECT_EQ(0, profile.companiesActReady);

  // A second read through the kept set gives the same record.
  DataProfile again = Filled(0x5A);
  ASSERT_EQ(1, ReadDataProfile(again, dataSet));
  EXPECT_EQ(0, std::memcmp(&profile, &again, sizeof profile));
}

TEST(DataProfile, UnknownSelectedNumberGivesAZeroProfile) {
  EngineHost host(TwoCompanies(7));
  ASSERT_TRUE(host.ok()) << host.error();
  DataProfile profile = Filled(0xA5);
  ClSetData* dataSet = nullptr;
  EXPECT_EQ(0, ReadDataProfile(profile, dataSet));
  EXPECT_TRUE(AllZero(profile));
}

TEST(DataProfile, TaxSettingsHeadCarriesTheAmountBasis) {
  EngineHost host(TwoCompanies(2));
  ASSERT_TRUE(host.ok()) << host.error();
  uint8_t record[12];
  std::memset(record, 0x5A, sizeof record);
  ASSERT_EQ(1, ReadTaxSettings(record, "TEST02"));
  EXPECT_EQ(1, record[0]) << "the method, little-endian";
  EXPECT_NE(0, record[5]) << "the amount basis byte";

  // The first data has no consumption-tax settings: failure, the record as it was.
  std::memset(record, 0x5A, sizeof record);
  EXPECT_EQ(0, ReadTaxSettings(record, "TEST01"));
  std::array<uint8_t, 12> untouched;
  untouched.fill(0x5A);
  EXPECT_EQ(0, std::memcmp(untouched.data(), record, sizeof record));
}

}  // namespace

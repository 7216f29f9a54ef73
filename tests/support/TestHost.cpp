// The test host: temporary folder, environment, and the store loaded through orbeck_store.
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "orbeck/store/HostDataLoader.h"

namespace velmora::test {
namespace {

const char* const kManagedVariables[] = {"ORBECK_HOME",           "VELMORA_DRIVES", "VELMORA_UI_SCRIPT",
                                         "VELMORA_UI_TRANSCRIPT", "VELMORA_FAULTS", "TMP"};

}  // namespace

TestHost::TestHost() : TestHost(MinimalCompany()) {}

TestHost::TestHost(const nlohmann::json& company) {
  Prepare();
  if (!company.is_null()) Load(company);
}

TestHost::~TestHost() {
  for (const auto& [name, value] : savedEnv_) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
  std::error_code ec;
  if (!root_.empty()) std::filesystem::remove_all(root_, ec);
}

void TestHost::Prepare() {
  for (const char* name : kManagedVariables) {
    const char* value = std::getenv(name);
    savedEnv_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  }
#ifdef _WIN32
  // Under Wine the build machine's /tmp, on drive Z:, so that the map's "Z: /" covers the
  // host's folders as it does on Linux.
  std::string pattern = "/tmp/velmora-test-XXXXXX";
#else
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
#endif
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    return;
  }
  root_ = pattern;
  home_ = root_ / "home";
  cDrive_ = root_ / "c";
  std::filesystem::create_directories(home_);
  std::filesystem::create_directories(cDrive_);
  std::ofstream drives(drivesFile(), std::ios::binary);
  // Quoted, so that a temporary folder with blanks in its name still maps.
  drives << "Z: / fixed\nC: \"" << cDrive_.string() << "\" fixed\n";
  drives.close();
  if (!drives) ADD_FAILURE() << "cannot write " << drivesFile();
  setenv("ORBECK_HOME", home_.string().c_str(), 1);
  setenv("VELMORA_DRIVES", drivesFile().string().c_str(), 1);
  unsetenv("VELMORA_UI_SCRIPT");
  unsetenv("VELMORA_UI_TRANSCRIPT");
  unsetenv("VELMORA_FAULTS");
#ifdef _WIN32
  // The temporary folder on the drive the map covers, as Linux's /tmp is.
  setenv("TMP", "/tmp", 1);
#endif
}

bool TestHost::TryLoad(const nlohmann::json& company, std::string& error) {
  loaded_ = orbeck::store::LoadHostData(company, home_, error) == 1;
  return loaded_;
}

bool TestHost::Load(const nlohmann::json& company) {
  std::string error;
  if (!TryLoad(company, error)) ADD_FAILURE() << "the host data loader rejected the document: " << error;
  return loaded_;
}

nlohmann::json TestHost::MinimalCompany() {
  using nlohmann::json;
  auto account = [](int code, const char* name, int kind, int debitNature, const char* character) {
    return json{{"code", code},
                {"name", name},
                {"kind", kind},
                {"debitNature", debitNature},
                {"character", character}};
  };
  json cash = account(1110000, "現金", 0, 1, "0x80880800");
  cash["opening"] = "500000";
  json receivable = account(1350000, "売掛金", 0, 1, "0x80880840");
  json currentAssets = account(1990000, "流動資産合計", 2, 1, "0x80880000");
  currentAssets["members"] = {1110000, 1350000};
  json assets = account(2990000, "資産合計", 2, 1, "0x80800000");
  assets["members"] = {1990000};
  json capital = account(5110000, "資本金", 0, 0, "0x80288000");
  capital["opening"] = "500000";
  json sales = account(8110000, "売上高", 0, 0, "0x40888100");
  json salesTotal = account(8190000, "売上高合計", 2, 0, "0x40888000");
  salesTotal["members"] = {8110000};
  json netIncome = account(9990000, "当期純利益", 2, 0, "0x40200040");
  netIncome["members"] = {8190000};
  json netAssets = account(5990000, "純資産合計", 2, 0, "0x80200000");
  netAssets["members"] = {5110000, 9990000};
  json liabilitiesAndNetAssets = account(6990000, "負債・純資産合計", 2, 0, "0x80100000");
  liabilitiesAndNetAssets["members"] = {5990000};
  return json{{"format", "orbeck-host-data"},
              {"version", 1},
              {"packageName", "Orbeck２１"},
              {"folders", {{"0", "out\\"}, {"1", "settings\\"}}},
              {"users", {{{"id", "user1"}, {"selectedFirst", 1}, {"selectedNo", 1}}}},
              {"currentUser", "user1"},
              {"eras",
               {{{"no", 1}, {"firstDay", 18680125}, {"name", "明治"}},
                {{"no", 2}, {"firstDay", 19120730}, {"name", "大正"}},
                {{"no", 3}, {"firstDay", 19261225}, {"name", "昭和"}},
                {{"no", 4}, {"firstDay", 19890108}, {"name", "平成"}},
                {{"no", 5}, {"firstDay", 20190501}, {"name", "令和"}}}},
              {"data",
               {{{"dataId", "D1"},
                 {"selectedNo", 1},
                 {"companyName", "株式会社テスト"},
                 {"periodStart", 20240401},
                 {"periodEnd", 20250331},
                 {"closingDay", 31},
                 {"patternFlag", 0},
                 {"interimClosing", 0},
                 {"introMonthIndex", 0},
                 {"companiesActReady", 1},
                 {"tax", {{"method", 0}, {"amountBasis", 0}}},
                 {"accounts",
                  {cash, receivable, currentAssets, assets, capital, netAssets, liabilitiesAndNetAssets,
                   sales, salesTotal, netIncome}},
                 {"journals",
                  {{{"id", 1},
                    {"date", 20240415},
                    {"adjustment", 0},
                    {"lines",
                     {{{"debit", 1350000},
                       {"debitAmount", "120000"},
                       {"credit", 8110000},
                       {"creditAmount", "120000"},
                       {"description", "4月分売上"}}}}}}},
                 {"savedDocuments", json::object()}}}}};
}

nlohmann::json TestHost::LoadDemoCompany() {
  const char* source = std::getenv("VELMORA_SOURCE_DIR");
  if (source == nullptr) {
    ADD_FAILURE() << "VELMORA_SOURCE_DIR is not set (velmora_test sets it)";
    return nullptr;
  }
  std::ifstream in(std::filesystem::path(source) / "data" / "demo-company.json", std::ios::binary);
  nlohmann::json document = nlohmann::json::parse(in, nullptr, false);
  if (!in || document.is_discarded()) {
    ADD_FAILURE() << "cannot read data/demo-company.json under " << source;
    return nullptr;
  }
  return document;
}

}  // namespace velmora::test

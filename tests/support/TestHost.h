// TestHost: a complete simulated host installation in a fresh temporary folder for one test.
// It points ORBECK_HOME and VELMORA_DRIVES there, clears the automation and fault variables,
// loads a company document into the store through the store's loader, and on destruction
// removes the folder and puts every variable back as it was.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace velmora::test {

// A list of a host data document from a brace list: GCC makes {x} an array of one element,
// clang the element itself; lists in a document are always arrays.
inline nlohmann::json AsList(nlohmann::json items) {
  return items.is_array() ? items : nlohmann::json::array({std::move(items)});
}

class TestHost {
 public:
  // Loads MinimalCompany().
  TestHost();
  // Loads `company`; a null document leaves the folder without a store. A document the
  // loader rejects fails the current test with the loader's message (see loaded()).
  explicit TestHost(const nlohmann::json& company);
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  // Replaces the store with `company`; false (and a failed test) when the loader rejects it.
  bool Load(const nlohmann::json& company);
  // Replaces the store with `company`; false with the loader's message, the test not failed.
  bool TryLoad(const nlohmann::json& company, std::string& error);

  bool loaded() const { return loaded_; }
  const std::filesystem::path& root() const { return root_; }      // the temporary folder
  const std::filesystem::path& home() const { return home_; }      // root/home = ORBECK_HOME
  const std::filesystem::path& cDrive() const { return cDrive_; }  // root/c, mapped as C:
  std::filesystem::path storePath() const { return home_ / "orbeck.db"; }
  std::filesystem::path drivesFile() const { return root_ / "drives.conf"; }

  // A small valid document: user "user1" selecting data "D1" (selected number 1), fiscal
  // year April 2024 to March 2025, cash, receivables, sales, capital and their totals,
  // one sales journal. Tests modify it before loading.
  static nlohmann::json MinimalCompany();
  // data/demo-company.json of the source tree ($VELMORA_SOURCE_DIR); null when unreadable.
  static nlohmann::json LoadDemoCompany();

 private:
  void Prepare();

  std::filesystem::path root_;
  std::filesystem::path home_;
  std::filesystem::path cDrive_;
  std::map<std::string, std::optional<std::string>> savedEnv_;
  bool loaded_ = false;
};

}  // namespace velmora::test

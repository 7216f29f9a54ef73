// A host installation for the engine's tests: a store loaded from a host data document in a
// fresh temporary folder, the runtime attached to it, and the month filter as the run
// driver writes it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "app/OrbeckRuntime/Records.h"
#include "tests/aggregate/Cp932Reference.h"
#include "tests/aggregate/MonthFilter.h"

// A document with the five modern eras, one user and one data record (fiscal year April
// 2024 to March 2025, calendar months) without accounts or journals.
nlohmann::json BaseDocument();

// The data record of BaseDocument, to add accounts and journals to.
nlohmann::json& DataOf(nlohmann::json& document);

class EngineHost {
public:
  // Loads document and attaches the runtime; ok() tells whether both worked.
  explicit EngineHost(const nlohmann::json& document);
  ~EngineHost();
  EngineHost(const EngineHost&) = delete;
  EngineHost& operator=(const EngineHost&) = delete;

  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }
  // The selected data's record as the runtime delivers it.
  StDATAINFO Profile() const;

private:
  std::filesystem::path home_;
  bool ok_ = false;
  std::string error_;
};

// Yen as the host's amount in ten-thousandths.
constexpr int64_t Yen(int64_t yen) { return yen * 10000; }

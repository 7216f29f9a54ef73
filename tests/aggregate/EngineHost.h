// The engine tests' host: a TestHost installation loaded from a document, with the runtime
// attached to it, and a document with the eras the date formatter needs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "runtime/Records.h"
#include "tests/aggregate/MonthFilter.h"
#include "tests/support/Cp932Text.h"
#include "tests/support/TestHost.h"

using velmora::test::Cp932;

// A document with the five modern eras, one user and one data record (fiscal year April
// 2024 to March 2025, calendar months) without accounts or journals.
nlohmann::json BaseDocument();

// The data record of BaseDocument, to add accounts and journals to.
nlohmann::json& DataOf(nlohmann::json& document);

class EngineHost {
 public:
  // Loads document and attaches the runtime; ok() tells whether both worked.
  explicit EngineHost(const nlohmann::json& document);
  EngineHost(const EngineHost&) = delete;
  EngineHost& operator=(const EngineHost&) = delete;

  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }
  // The selected data's record as the runtime delivers it.
  StDATAINFO Profile() const;

 private:
  velmora::test::TestHost installation_;
  bool ok_ = false;
  std::string error_;
};

// Yen as the host's amount in ten-thousandths.
constexpr int64_t Yen(int64_t yen) { return yen * 10000; }

// Small builders of host data document parts for the engine's tests.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/support/TestHost.h"

// A balance row (or, with balanceRow false, a sub-account master).
inline nlohmann::json Account(int32_t code, const std::string& name, int kind, int debitNature,
                              uint32_t character, const char* opening = nullptr) {
  nlohmann::json account = {
      {"code", code}, {"name", name}, {"kind", kind}, {"debitNature", debitNature}, {"character", character}};
  if (opening != nullptr) account["opening"] = opening;
  return account;
}

// One journal line; a side with code 0 is absent.
inline nlohmann::json Line(int32_t debit, const char* debitAmount, int32_t credit, const char* creditAmount,
                           int counterKind = 0, const char* debitTax = "0", const char* creditTax = "0",
                           const std::string& description = "") {
  nlohmann::json line = {{"counterKind", counterKind}, {"description", description}};
  if (debit != 0) {
    line["debit"] = debit;
    line["debitAmount"] = debitAmount;
    line["debitTax"] = debitTax;
  }
  if (credit != 0) {
    line["credit"] = credit;
    line["creditAmount"] = creditAmount;
    line["creditTax"] = creditTax;
  }
  return line;
}

inline nlohmann::json Journal(int id, int32_t date, nlohmann::json lines, int adjustment = 0) {
  return {{"id", id},
          {"date", date},
          {"adjustment", adjustment},
          {"lines", velmora::test::AsList(std::move(lines))}};
}

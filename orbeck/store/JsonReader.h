// Typed, located reads from a JSON document: every failure becomes one message that starts
// with the JSON pointer of the offending value ("/data/0/accounts/12/name: ...").
// Only the first failure is kept; later reads after a failure still return false.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace orbeck::store {

class JsonReader {
 public:
  static std::string Child(const std::string& pointer, std::string_view key);
  static std::string Child(const std::string& pointer, std::size_t index);

  bool Fail(const std::string& pointer, const std::string& message);
  bool Failed() const { return failed_; }
  const std::string& Error() const { return error_; }

  // The value must be an object whose members are all among `known`.
  bool Object(const nlohmann::json& value, const std::string& pointer,
              std::initializer_list<std::string_view> known);
  bool Array(const nlohmann::json& value, const std::string& pointer);

  // A member of an object: nullptr when absent (a failure when `required`).
  const nlohmann::json* Member(const nlohmann::json& object, const std::string& pointer,
                               std::string_view name, bool required);

  bool Integer(const nlohmann::json& value, const std::string& pointer, int64_t min, int64_t max,
               int64_t& out);
  bool Boolean(const nlohmann::json& value, const std::string& pointer, bool& out);
  // UTF-8 JSON text converted to code page 932, at most maxBytes bytes after conversion.
  bool Text(const nlohmann::json& value, const std::string& pointer, std::size_t maxBytes, std::string& out);
  // A string of yen with up to four decimals, as ten-thousandths.
  bool Amount(const nlohmann::json& value, const std::string& pointer, int64_t& out);
  // A yyyymmdd integer that names a real calendar date.
  bool Date(const nlohmann::json& value, const std::string& pointer, int32_t& out);
  // A non-negative decimal integer written as an object key.
  bool KeyNumber(const std::string& key, const std::string& pointer, int64_t& out);

 private:
  bool failed_ = false;
  std::string error_;
};

// True for a yyyymmdd value that names a real calendar date.
bool IsCalendarDate(int64_t yyyymmdd);

}  // namespace orbeck::store

// Typed JSON reads with pointer-named errors; text goes to code page 932 on the way in.
#include "orbeck/store/JsonReader.h"

#include <chrono>
#include <limits>

#include "orbeck/store/Amount.h"
#include "platform/Cp932.h"

namespace orbeck::store {

std::string JsonReader::Child(const std::string& pointer, std::string_view key) {
  std::string escaped;
  for (char c : key) {
    if (c == '~') {
      escaped += "~0";
    } else if (c == '/') {
      escaped += "~1";
    } else {
      escaped += c;
    }
  }
  return pointer + "/" + escaped;
}

std::string JsonReader::Child(const std::string& pointer, std::size_t index) {
  return pointer + "/" + std::to_string(index);
}

bool JsonReader::Fail(const std::string& pointer, const std::string& message) {
  if (!failed_) {
    failed_ = true;
    error_ = (pointer.empty() ? std::string("(document)") : pointer) + ": " + message;
  }
  return false;
}

bool JsonReader::Object(const nlohmann::json& value, const std::string& pointer,
                        std::initializer_list<std::string_view> known) {
  if (failed_) return false;
  if (!value.is_object()) return Fail(pointer, "must be an object");
  for (const auto& item : value.items()) {
    bool isKnown = false;
    for (std::string_view name : known) isKnown = isKnown || item.key() == name;
    if (!isKnown) return Fail(Child(pointer, item.key()), "unknown member");
  }
  return true;
}

bool JsonReader::Array(const nlohmann::json& value, const std::string& pointer) {
  if (failed_) return false;
  if (!value.is_array()) return Fail(pointer, "must be an array");
  return true;
}

const nlohmann::json* JsonReader::Member(const nlohmann::json& object, const std::string& pointer,
                                         std::string_view name, bool required) {
  if (failed_) return nullptr;
  auto it = object.find(name);
  if (it == object.end()) {
    if (required) Fail(Child(pointer, name), "is missing");
    return nullptr;
  }
  return &*it;
}

bool JsonReader::Integer(const nlohmann::json& value, const std::string& pointer, int64_t min, int64_t max,
                         int64_t& out) {
  if (failed_) return false;
  if (!value.is_number_integer()) return Fail(pointer, "must be an integer");
  if (value.is_number_unsigned() &&
      value.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
    return Fail(pointer, "is out of range");
  }
  int64_t v = value.get<int64_t>();
  if (v < min || v > max) {
    return Fail(pointer, "must lie between " + std::to_string(min) + " and " + std::to_string(max) + " (is " +
                             std::to_string(v) + ")");
  }
  out = v;
  return true;
}

bool JsonReader::Boolean(const nlohmann::json& value, const std::string& pointer, bool& out) {
  if (failed_) return false;
  if (!value.is_boolean()) return Fail(pointer, "must be true or false");
  out = value.get<bool>();
  return true;
}

bool JsonReader::Text(const nlohmann::json& value, const std::string& pointer, std::size_t maxBytes,
                      std::string& out) {
  if (failed_) return false;
  if (!value.is_string()) return Fail(pointer, "must be a string");
  const auto& utf8 = value.get_ref<const std::string&>();
  platform::cp932::Conversion converted = platform::cp932::FromUtf8(utf8);
  if (!converted.ok) return Fail(pointer, "text is not representable in code page 932");
  if (converted.text.find('\0') != std::string::npos) return Fail(pointer, "text contains a NUL character");
  if (converted.text.size() > maxBytes) {
    return Fail(pointer, "text is " + std::to_string(converted.text.size()) +
                             " bytes in code page 932, at most " + std::to_string(maxBytes) + " allowed");
  }
  out = std::move(converted.text);
  return true;
}

bool JsonReader::Amount(const nlohmann::json& value, const std::string& pointer, int64_t& out) {
  if (failed_) return false;
  if (!value.is_string()) return Fail(pointer, "amount must be a JSON string such as \"1500\"");
  std::string why;
  std::optional<int64_t> parsed = ParseAmount(value.get_ref<const std::string&>(), &why);
  if (!parsed) return Fail(pointer, why);
  out = *parsed;
  return true;
}

bool JsonReader::Date(const nlohmann::json& value, const std::string& pointer, int32_t& out) {
  int64_t v = 0;
  if (!Integer(value, pointer, 0, 99991231, v)) return false;
  if (!IsCalendarDate(v)) return Fail(pointer, "is not a calendar date yyyymmdd");
  out = static_cast<int32_t>(v);
  return true;
}

bool JsonReader::KeyNumber(const std::string& key, const std::string& pointer, int64_t& out) {
  if (failed_) return false;
  bool digits = !key.empty() && key.size() <= 9 && (key == "0" || key[0] != '0');
  for (char c : key) digits = digits && c >= '0' && c <= '9';
  if (!digits) return Fail(pointer, "key must be a non-negative decimal number");
  out = std::stoll(key);
  return true;
}

bool IsCalendarDate(int64_t yyyymmdd) {
  if (yyyymmdd < 10000101 || yyyymmdd > 99991231) return false;
  std::chrono::year_month_day ymd{std::chrono::year{static_cast<int>(yyyymmdd / 10000)},
                                  std::chrono::month{static_cast<unsigned>(yyyymmdd / 100 % 100)},
                                  std::chrono::day{static_cast<unsigned>(yyyymmdd % 100)}};
  return ymd.ok();
}

}  // namespace orbeck::store

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

namespace {

// A message stays one line on any terminal: control characters of member names (C0, DEL,
// and the C1 range, which UTF-8 writes as 0xC2 0x80-0x9F) are written as \u00XX.
std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    unsigned code = 0x100;
    if (c < 0x20 || c == 0x7f) {
      code = c;
    } else if (c == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
      code = static_cast<unsigned char>(text[++i]);
    }
    if (code == 0x100) {
      out += static_cast<char>(c);
    } else {
      static const char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[code >> 4];
      out += kHex[code & 0xf];
    }
  }
  return out;
}

}  // namespace

bool JsonReader::Fail(const std::string& pointer, const std::string& message) {
  if (!failed_) {
    failed_ = true;
    error_ = OneLine((pointer.empty() ? std::string("(document)") : pointer) + ": " + message);
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

// What the loader's tests share: documents spoiled from the minimal company, each to be
// refused with a message that starts with the offending place's JSON pointer, and the
// parts of the document the spoiling reaches.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <string>

#include "tests/support/TestHost.h"

namespace orbeck::store::test {

using nlohmann::json;

inline std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

struct BadCase {
  const char* what;
  std::function<void(json&)> spoil;
  const char* pointer;  // the message must start with this pointer and ": "
};

inline void PrintTo(const BadCase& badCase, std::ostream* out) { *out << badCase.what; }

// A spoiled document is refused, names its place and keeps the store that was there before
// byte for byte, with no file left behind (LoaderRefusalTest.cpp).
class LoaderRefuses : public ::testing::TestWithParam<BadCase> {};

// The case's description as a test name.
inline std::string CaseName(const ::testing::TestParamInfo<BadCase>& param) {
  std::string name = param.param.what;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

inline json& Account(json& doc, int index) {
  return doc["data"][0]["accounts"][static_cast<std::size_t>(index)];
}
inline json& Line(json& doc) { return doc["data"][0]["journals"][0]["lines"][0]; }
inline json& Journal(json& doc) { return doc["data"][0]["journals"][0]; }

}  // namespace orbeck::store::test

// Byte comparison of output with expected bytes or a golden file, with a readable report
// of the first line that differs (shown in UTF-8, with CR, LF and TAB made visible).
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace velmora::test {

// Equal whole byte strings of code page 932 text with lines ending in LF (or CR LF).
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual);

// The output compared with the golden file tests/data/relative. With VELMORA_UPDATE_GOLDEN=1
// in the environment the golden file is rewritten from the output first.
::testing::AssertionResult MatchesGolden(const std::string& actual, const std::string& relative);

// A golden document kept readable in UTF-8 with LF lines (tests/data/relative), as the
// writer writes it: code page 932 with CR LF lines.
std::string WrittenForm(const std::string& relative);

}  // namespace velmora::test

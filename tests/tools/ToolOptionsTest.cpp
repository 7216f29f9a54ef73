// The tools' option reader over command lines that differ only in their words: which words
// are options and values, which are positional, and which lines are usage errors; and the
// answer to a lone --help or --version.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/common/ToolOptions.h"

namespace {

using Words = std::vector<std::string>;
using tools::OptionReader;

TEST(ToolOptions, OptionsValuesAndPositionalWords) {
  const struct {
    OptionReader::Unknown unknown;
    Words words;
    std::size_t first;
    bool read;
    Words positional;  // when read
    std::string map;
    bool explain;
  } cases[] = {
      {OptionReader::Unknown::UsageError, {"a", "--map", "m", "b"}, 0, true, {"a", "b"}, "m", false},
      {OptionReader::Unknown::UsageError, {"--explain", "a"}, 0, true, {"a"}, "", true},
      // a value is the next word, even one that looks like an option; the last one given counts
      {OptionReader::Unknown::UsageError, {"--map", "--explain"}, 0, true, {}, "--explain", false},
      {OptionReader::Unknown::UsageError, {"--map", "a", "--map", "b"}, 0, true, {}, "b", false},
      {OptionReader::Unknown::UsageError, {"a", "--map"}, 0, false, {}, "", false},
      {OptionReader::Unknown::UsageError, {"--bogus", "a"}, 0, false, {}, "", false},
      {OptionReader::Unknown::UsageError, {"-", "-x", "--"}, 0, false, {}, "", false},
      {OptionReader::Unknown::UsageError, {"-", "-x"}, 0, true, {"-", "-x"}, "", false},
      {OptionReader::Unknown::Positional, {"--bogus", "a", "--"}, 0, true, {"--bogus", "a", "--"}, "", false},
      {OptionReader::Unknown::Positional, {"--map"}, 0, false, {}, "", false},
      // the words before first are not read (a command, say)
      {OptionReader::Unknown::Positional, {"--map", "--map", "m"}, 1, true, {}, "m", false},
      {OptionReader::Unknown::UsageError, {"--count", "7", "a"}, 0, true, {"a"}, "", false},
      {OptionReader::Unknown::UsageError, {"--count", "seven"}, 0, false, {}, "", false},
  };
  for (const auto& c : cases) {
    std::string map;
    bool explain = false;
    int count = 0;
    Words positional;
    const bool read = OptionReader(c.unknown)
                          .Flag("--explain", explain)
                          .Into("--map", map)
                          .Value("--count",
                                 [&count](const std::string& value) {
                                   if (value.find_first_not_of("0123456789") != std::string::npos)
                                     return false;
                                   count = std::stoi(value);
                                   return true;
                                 })
                          .Read(c.words, c.first, positional);
    std::string line;
    for (const std::string& w : c.words) line += "[" + w + "]";
    EXPECT_EQ(c.read, read) << line;
    if (!c.read || !read) continue;
    EXPECT_EQ(c.positional, positional) << line;
    EXPECT_EQ(c.map, map) << line;
    EXPECT_EQ(c.explain, explain) << line;
  }
}

int helpsPrinted = 0;
void PrintHelp() { ++helpsPrinted; }

TEST(ToolOptions, OnlyALoneHelpOrVersionIsAnswered) {
  std::ostringstream out;
  std::streambuf* const saved = std::cout.rdbuf(out.rdbuf());
  const bool help = tools::AnswerHelpOrVersion({"--help"}, "tool", "1.2", PrintHelp);
  const bool version = tools::AnswerHelpOrVersion({"--version"}, "tool", "1.2", PrintHelp);
  const bool withMore = tools::AnswerHelpOrVersion({"--help", "x"}, "tool", "1.2", PrintHelp) ||
                        tools::AnswerHelpOrVersion({"x", "--version"}, "tool", "1.2", PrintHelp) ||
                        tools::AnswerHelpOrVersion({}, "tool", "1.2", PrintHelp);
  std::cout.rdbuf(saved);
  EXPECT_TRUE(help);
  EXPECT_TRUE(version);
  EXPECT_FALSE(withMore);
  EXPECT_EQ(1, helpsPrinted);
  EXPECT_EQ("tool 1.2\n", out.str());
}

}  // namespace

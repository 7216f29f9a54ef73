// A command-line tool's command line: the answer to a lone --help or --version, and the
// option reader, which picks out the options (words beginning with "--", alone or with the
// next word as their value) among the tool's positional words.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tools {

// A command line of only --help prints the help (printHelp), one of only --version
// "NAME VERSION"; true when it was one of the two, and the tool then exits with 0.
bool AnswerHelpOrVersion(const std::vector<std::string>& words, std::string_view name,
                         std::string_view version, void (*printHelp)());

class OptionReader {
 public:
  // What a word that begins with "--" but names none of the options is.
  enum class Unknown { Positional, UsageError };
  explicit OptionReader(Unknown unknown) : unknown_(unknown) {}

  // An option that stands alone and sets its flag.
  OptionReader& Flag(std::string name, bool& set);
  // An option whose value is the next word, whatever it is; take returns false to refuse it.
  OptionReader& Value(std::string name, std::function<bool(const std::string&)> take);
  // An option whose value is assigned to target (a string, a path, an optional of either).
  template <typename T>
  OptionReader& Into(std::string name, T& target) {
    return Value(std::move(name), [&target](const std::string& value) {
      target = value;
      return true;
    });
  }

  // Reads the words from first on; the others, in their order, go to positional. False on
  // a usage error: an option that ends the line without its value, a value refused, or an
  // unknown option where those are errors.
  bool Read(const std::vector<std::string>& words, std::size_t first,
            std::vector<std::string>& positional) const;

 private:
  struct Option {
    std::string name;
    bool* flag = nullptr;  // set: the option stands alone
    std::function<bool(const std::string&)> take;
  };
  Unknown unknown_;
  std::vector<Option> options_;
};

}  // namespace tools

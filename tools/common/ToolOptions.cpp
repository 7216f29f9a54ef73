// The answer to --help and --version and the option reader of the command-line tools.
#include "tools/common/ToolOptions.h"

#include <iostream>

namespace tools {

bool AnswerHelpOrVersion(const std::vector<std::string>& words, std::string_view name,
                         std::string_view version, void (*printHelp)()) {
  if (words.size() != 1) return false;
  if (words[0] == "--help") {
    printHelp();
    return true;
  }
  if (words[0] == "--version") {
    std::cout << name << " " << version << "\n";
    return true;
  }
  return false;
}

OptionReader& OptionReader::Flag(std::string name, bool& set) {
  options_.push_back({std::move(name), &set, nullptr});
  return *this;
}

OptionReader& OptionReader::Value(std::string name, std::function<bool(const std::string&)> take) {
  options_.push_back({std::move(name), nullptr, std::move(take)});
  return *this;
}

bool OptionReader::Read(const std::vector<std::string>& words, std::size_t first,
                        std::vector<std::string>& positional) const {
  for (std::size_t i = first; i < words.size(); ++i) {
    const std::string& word = words[i];
    const Option* option = nullptr;
    for (const Option& o : options_) {
      if (o.name == word) option = &o;
    }
    if (option == nullptr) {
      if (word.rfind("--", 0) == 0 && unknown_ == Unknown::UsageError) return false;
      positional.push_back(word);
    } else if (option->flag != nullptr) {
      *option->flag = true;
    } else if (i + 1 == words.size() || !option->take(words[++i])) {
      return false;
    }
  }
  return true;
}

}  // namespace tools

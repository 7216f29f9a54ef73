// Running Debian's hledger on a journal: its JSON goes to a temporary file that is read as a
// stream and removed, so that a journal of a million postings is never held as text.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tools/orbeck-import/HledgerSource.h"

namespace orbeck::import {
namespace {

// The text as one single-quoted shell word.
std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string FirstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line, first;
  while (std::getline(in, line))
    if (!line.empty() && first.empty()) first = line;
  return first;
}

}  // namespace

int ReadHledgerJournal(const std::filesystem::path& journal, BookSink& sink, std::string& error) {
  if (std::system("command -v hledger >/dev/null 2>&1") != 0) {
    error = journal.string() +
            ": reading a journal needs hledger (Debian: apt-get install hledger), "
            "or give the output of `hledger print -O json` saved as a .json file";
    return 0;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(journal, ec)) {
    error = journal.string() + ": cannot be read";
    return 0;
  }
  std::filesystem::path temp =
      std::filesystem::temp_directory_path(ec) /
      ("orbeck-import-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::path json = temp.string() + ".json";
  std::filesystem::path messages = temp.string() + ".err";
  // hledger needs a working folder that exists; the journal's own is one, and its includes
  // are relative to it anyway.
  std::filesystem::path absolute = std::filesystem::absolute(journal, ec);
  std::string command = "cd " + Quoted(absolute.parent_path().string()) + " && hledger print -O json -f " +
                        Quoted(absolute.string()) + " >" + Quoted(json.string()) + " 2>" +
                        Quoted(messages.string());
  int status = std::system(command.c_str());
  int result = 0;
  if (status != 0) {
    std::string said = FirstLine(messages);
    error = journal.string() + ": hledger refused the journal" + (said.empty() ? "" : ": " + said);
  } else {
    result = ReadHledgerJson(json, sink, error);
  }
  std::filesystem::remove(json, ec);
  std::filesystem::remove(messages, ec);
  return result;
}

}  // namespace orbeck::import

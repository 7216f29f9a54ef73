// Parsing of the host's command line. Numbers are read as atol reads them: leading blanks,
// an optional sign, digits up to the first other character, 0 for none.
#include "app/HostCommandLine.h"

#include <cstdlib>

namespace {

long DecimalValue(const std::string& line, std::size_t begin, std::size_t end) {
  const std::string field = line.substr(begin, end - begin);
  return std::strtol(field.c_str(), nullptr, 10);
}

}  // namespace

bool ParseHostCommandLine(const std::string& line, HostCommandLine& parsed) {
  if (line.empty()) return false;
  const std::size_t first = line.find(',');
  if (first == std::string::npos) return false;
  parsed.hostWindow = static_cast<platform::HWND>(DecimalValue(line, 0, first));
  const std::size_t second = line.find(',', first + 1);
  if (second == std::string::npos) return false;
  parsed.notifyMessage = static_cast<uint32_t>(DecimalValue(line, first + 1, second));
  const std::size_t third = line.find(',', second + 1);
  if (third == std::string::npos) return false;
  parsed.functionId = static_cast<int16_t>(static_cast<int>(DecimalValue(line, second + 1, third)));
  parsed.hostOutputPath = line.substr(third + 1);
  return true;
}

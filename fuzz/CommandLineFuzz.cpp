// The host's command line, after its conversion from the process arguments.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/HostCommandLine.h"
#include "platform/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  HostCommandLine parsed;
  const bool parentMode = ParseHostCommandLine(line, parsed);
  // The host path is whatever follows the third comma, whole.
  if (parentMode && parsed.hostOutputPath.size() >= line.size()) __builtin_trap();
  const platform::cp932::Conversion converted = platform::cp932::FromUtf8(line);
  if (converted.ok) {
    HostCommandLine again;
    (void)ParseHostCommandLine(converted.text, again);
  }
  return 0;
}

// Private-profile reads over any file content: a few sections and keys, small and large buffers.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Ini.h"

namespace {

// The file the reads open, by its Windows form on the default drive map (Z: is /).
const std::string& IniFile() {
  static const std::string path = "/tmp/velmora-fuzz-ini-" + std::to_string(::getpid()) + ".ini";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(IniFile().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  std::string windowsPath = "Z:" + IniFile();
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  for (const char* section : {"ProgramLevel", "programlevel", ""}) {
    for (const char* key : {"RX52", "rx52"}) {
      for (std::size_t buffer : {std::size_t{2}, std::size_t{256}}) {
        const std::string value =
            platform::win::GetPrivateProfileStringA(section, key, "none", buffer, windowsPath);
        if (value.size() >= buffer && value != "none") __builtin_trap();
      }
    }
  }
  return 0;
}

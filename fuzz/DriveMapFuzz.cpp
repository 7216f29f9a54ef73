// The drive map's parser, and path resolution through whatever map it gives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DriveMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> errors;
  const platform::win::DriveMap map = platform::win::DriveMap::Parse(text, &errors);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const platform::win::DriveEntry& drive = map.Drive(letter);
    if (!drive.present && !drive.folder.empty()) __builtin_trap();
  }
  for (const platform::win::ShareEntry& share : map.Shares()) (void)map.Share(share.server, share.share);
  return 0;
}

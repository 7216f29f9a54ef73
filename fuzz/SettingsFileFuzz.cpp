// The settings file's reads and its line replacement over any file content.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialog/SettingsFile.h"
#include "platform/Cp932.h"
#include "platform/WinTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  const std::string key = SettingsKey("user1", 1, 1);
  SettingsValues values;
  // A line that was read writes back as a line that reads the same, for any path a run can
  // save: the dialog keeps at most 260 bytes of a path it read, and a path never holds a CR (the
  // reader takes one CR before the line feed as the line's end).
  if (FindSettings(content, key, values) && values.path.find('\r') == std::string::npos) {
    values.path = platform::cp932::BoundedString(values.path, platform::kPathCapacity - 1);
    SettingsValues again;
    if (!FindSettings(SettingsLine(key, values), key, again) || again.path != values.path ||
        again.firstMonth != values.firstMonth || again.lastMonth != values.lastMonth ||
        again.kind != values.kind || again.withLedger != values.withLedger)
      __builtin_trap();
  }
  const SettingsValues chosen{4, 3, 1, 1, "C:\\Out\\a.xml"};
  const std::string replaced = ReplaceSettingsLine(content, key, SettingsLine(key, chosen));
  SettingsValues fresh;
  if (!FindSettings(replaced, key, fresh) || fresh.path != chosen.path) __builtin_trap();
  return 0;
}

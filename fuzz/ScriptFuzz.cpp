// The automation script's parser: every line is either an action or a described refusal.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/script/ScriptBackend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  platform::script::ScriptBackend backend(text);
  for (const std::string& error : backend.ScriptErrors()) {
    if (error.empty()) __builtin_trap();
  }
  return 0;
}

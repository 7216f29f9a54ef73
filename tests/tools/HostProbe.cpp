// A tiny program for the host shell's tests: it parses the host's command line as the
// program does, records it in $PROBE_OUT, and makes the window calls of one run, posting
// the run status given in $PROBE_STATUS (none when unset).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ui/Window.h"

int main(int argc, char** argv) {
  const std::string commandLine = argc > 1 ? argv[1] : "";
  if (const char* out = std::getenv("PROBE_OUT")) {
    if (std::FILE* file = std::fopen(out, "w")) {
      std::fputs(commandLine.c_str(), file);
      std::fclose(file);
    }
  }
  long hwnd = 0;
  long message = 0;
  int function = 0;
  if (std::sscanf(commandLine.c_str(), "%ld,%ld,%d,", &hwnd, &message, &function) != 3) return 1;
  platform::EnableWindow(hwnd, false);
  platform::SetForegroundWindow(hwnd);
  if (const char* status = std::getenv("PROBE_STATUS")) {
    platform::PostMessageA(hwnd, static_cast<std::uint32_t>(message), function, std::atoi(status));
  }
  platform::EnableWindow(hwnd, true);
  return 0;
}

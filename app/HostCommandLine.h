// The host's command line: "window handle,message number,function code[,output path]".
#pragma once

#include <cstdint>
#include <string>

#include "platform/WinTypes.h"

struct HostCommandLine {
  platform::HWND hostWindow = 0;
  uint32_t notifyMessage = 0;
  int16_t functionId = 3;      // 3 when the line does not give one
  std::string hostOutputPath;  // everything after the third comma, commas included
};

// Parses the whole line, however long (it is never cut to a fixed buffer, so a long host
// path stays whole). Fields before a missing comma keep what was parsed; true only when
// all three commas are present (parent mode).
bool ParseHostCommandLine(const std::string& line, HostCommandLine& parsed);

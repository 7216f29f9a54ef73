// The start-up compatibility check against the installed Zentor application: its program
// level for this link component, read from "ZentorDef.ini" in the current folder, must be 3.
#pragma once

#include <string>

#include "platform/WinTypes.h"

// The definition file's path for a folder: a backslash goes between them unless the folder
// is empty or already ends in a real backslash (not the second byte of a double-byte character).
std::string ProgramLevelFilePath(const std::string& folder);

// -1 no definition file or an empty value, 0 level 3, 1 level below 3, 2 level above 3.
int ProgramLevelCode(const std::string& folder);

// 1 when the level fits; 0 otherwise, after showing the code's message when showMessages is
// set (through the runtime's message display, owned by owner).
int CheckProgramLevel(bool showMessages, platform::HWND owner);

// The line that says why the check did not pass for the current folder (FailureLines.h);
// empty when it passes.
std::string ProgramLevelReport(const std::string& program);

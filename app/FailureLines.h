// The one-line reports of a run that stops before its work or cannot write its document:
// what failed, where, and what to do next. They go to standard error and the automation
// transcript (platform::ReportError), in UTF-8; the message boxes keep their own texts. The
// attach failure's line is told with its box (AttachFailure.h).
#pragma once

#include <string>

// The program's own folder is on no drive; problem says why (DriveMap::ProgramFolderProblem).
std::string ProgramFolderLine(const std::string& program, const std::string& problem);
// The compatibility check did not pass: code as ProgramLevelCode gives it (-1 no usable
// definition file, 1 the Zentor application is older, 2 this component is older) for the
// definition file at iniPath (code page 932), which may not exist at all.
std::string ProgramLevelLine(const std::string& program, int code, const std::string& iniPath,
                             bool iniExists);
// The document could not be written at outputPath (code page 932); reason is the system's
// (UTF-8, empty when it gave none).
std::string WriteFailureLine(const std::string& program, const std::string& outputPath,
                             const std::string& reason);

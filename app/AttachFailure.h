// A run that could not attach to the host installation, told two ways from the runtime's
// attach status: the one line for standard error and the automation transcript (UTF-8,
// beside the other failure lines of FailureLines.h), and the message box, shown only where
// a user sees windows (a desktop entry has no terminal for the line).
#pragma once

#include <string>

// The line; homeFolder is the host folder the runtime looked in (UTF-8, empty when none
// could be named).
std::string AttachFailureLine(const std::string& program, long status, const std::string& homeFolder);
// The box's text (code page 932), for the same status and folder.
std::string AttachFailureNotice(long status, const std::string& homeFolder);

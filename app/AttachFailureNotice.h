// The message box of a run that could not attach to a host installation: what is missing
// and how to set it up. Shown only where a user sees windows (a desktop entry has no
// terminal for the line on standard error).
#pragma once

#include <string>

// The text (code page 932) for the runtime's attach status; homeFolder is the host folder
// the runtime looked in (UTF-8, empty when none could be named).
std::string AttachFailureNotice(long status, const std::string& homeFolder);

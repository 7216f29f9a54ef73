// Whole-file reads by Linux path, for the files the program's environment names (the
// automation script, the drive map). Unlike a stream, a read that fails after the file
// opened is an error, never a shorter text.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The file's bytes; none with a reason in error when it cannot be opened or read (also at
// the "FileRead" fault point, whose detail is the Linux path).
std::optional<std::string> ReadLinuxFile(const std::string& path, std::string& error);

}  // namespace platform

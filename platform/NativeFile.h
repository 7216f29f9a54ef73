// Whole-file reads by native path (NativePath.h), for the files the program's environment
// names (the automation script, the drive map). Unlike a stream, a read that fails after the
// file opened is an error, never a shorter text; and only a regular file is read, so that a
// FIFO or a device named there can never make the program wait for ever.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The file's bytes; none with a reason in error when it cannot be opened or read, when it is
// not a regular file, and at the "FileRead" fault point (whose detail is the native path).
std::optional<std::string> ReadNativeFile(const std::string& path, std::string& error);

}  // namespace platform

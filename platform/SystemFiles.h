// The system's side of File, of the block writer and of the whole-file reads: descriptors
// opened, read, written, made durable and closed by native path (NativePath.h), and the
// random bytes of temporary names. Linux serves it in posix/, Windows in win32/ (a C runtime
// descriptor over a handle); everything around these calls is written once, above them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::detail {

// The reason given for a FIFO, a device, a socket or a folder opened for reading.
inline constexpr char kNotRegularFile[] = "not a regular file";

// The system's text of the error of the call that just failed.
std::string LastSystemError();

// Opens a regular file for reading; -1 with the reason otherwise. Anything else is refused
// before a read could wait for ever on it (a FIFO without a writer) or never end (a device).
int OpenRegularFile(const std::string& nativePath, std::string& reason);
// Opens or creates the file for writing, locks it exclusively (a second writer fails
// instead of interleaving) and truncates it; -1 with the reason when any step fails.
int OpenLockedForWriting(const std::string& nativePath, std::string& reason);
// Creates a new file, never opening what is already at the name nor following a link
// there; -1 otherwise, with exists set when the name was taken.
int CreateNewFile(const std::string& nativePath, bool& exists);

// One read of at most size bytes: the count, 0 at the end, -1 on error.
long ReadSome(int fd, char* data, std::size_t size);
// Writes all bytes at the file's position; false when any could not be written.
bool WriteAll(int fd, const char* bytes, std::size_t size);
// Starts the writeback of bytes just written at offset, so that the final sync finds
// little left to do; only a hint, and nothing where the system has no such call.
void StartWriteback(int fd, std::int64_t offset, std::size_t size);
// Makes what was written durable.
bool SyncFile(int fd);
bool CloseFile(int fd);

// Fills bytes from the system's random source; false when it has none to give.
bool RandomBytes(unsigned char* bytes, std::size_t count);
unsigned long long ProcessId();

// The system's temporary folder in Windows form, with or without a trailing separator;
// empty when the drive map does not cover it.
std::string TemporaryFolder();

}  // namespace platform::detail

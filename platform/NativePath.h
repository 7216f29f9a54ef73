// The system's own paths, below the Windows-form paths the program sees: Linux paths on
// Linux, Windows paths in UTF-8 on Windows. The drive map and the path translation use these;
// one implementation per system (platform/posix, platform/win32).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::native {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// True for a folder a map line may name: "/x" on Linux; "C:\x" or "\\srv\share" on Windows.
bool IsAbsoluteFolder(std::string_view folder);
// The folder in the form the translation compares: the system's separators, no trailing
// separator except at a root.
std::string NormalizeFolder(std::string folder);
// The absolute form of a path, "." and ".." resolved, the system's separators, no trailing
// separator except at a root; none when it cannot be formed (no current folder).
std::optional<std::string> Absolute(const std::string& path);

// The folder of the running program's own file; none when the system does not say.
std::optional<std::string> ProgramFolder();

// A file's identity and modification time, so that a file rewritten in place is noticed.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;

  bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(const std::string& path);

// The real drive type of a root of the system ("C:\", "\\srv\share\"); used where the
// drive map is the identity.
unsigned RealDriveType(const std::string& root);

}  // namespace platform::native

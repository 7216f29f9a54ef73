// Resolution of a Windows-form path to the native path that serves it, shared by the file
// services. A relative path (or one starting at the current drive's root) is taken against
// the current folder; "." and ".." are resolved by name and never climb above the root.
#pragma once

#include <optional>
#include <string>

namespace platform::win::detail {

struct ResolvedPath {
  std::string nativePath;
  bool readOnly = false;  // on a CD-ROM drive: every change is refused
};

std::optional<ResolvedPath> Resolve(const std::string& windowsPath);

// Why a path cannot be changed, when Resolve gives none or a read-only drive: what the drive
// map lacks for it, in words (UTF-8); empty when it can be.
std::string UnreachableReason(const std::string& windowsPath);
// Keeps the reason of a failed file call for LastFileFailure.
void NoteFileFailure(std::string reason);
// The system's text for its last error of the calling thread (errno, GetLastError), UTF-8.
std::string SystemErrorText();

}  // namespace platform::win::detail

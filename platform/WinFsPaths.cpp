// Windows path syntax over code page 932 text (_splitpath, PathSkipRootA, PathStripToRootA)
// and the translation between Windows-form and the system's own paths through the drive
// map, and the temporary folder in Windows form. Every search for a separator steps over
// double-byte characters, so the second byte 0x5C of 表 or ソ is never a separator. On disk
// every path segment is UTF-8.
#include <vector>

#include "platform/Cp932.h"
#include "platform/DriveMap.h"
#include "platform/NativePath.h"
#include "platform/SystemFiles.h"
#include "platform/WinFs.h"
#include "platform/WinFsResolve.h"
#include "platform/WinTypes.h"

namespace platform::win {

namespace {

constexpr std::size_t kMaxComponent = 255;  // _MAX_DIR, _MAX_FNAME and _MAX_EXT less the zero
constexpr auto npos = std::string_view::npos;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasDrivePrefix(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && !cp932::IsLeadByte(static_cast<unsigned char>(path[0]));
}

bool IsUnc(std::string_view path) { return path.size() >= 2 && path[0] == '\\' && path[1] == '\\'; }

// Splits on real separators, resolving "." and ".." by name; ".." stops at the root as
// Windows does.
std::vector<std::string_view> Segments(std::string_view rest, char separator) {
  std::vector<std::string_view> segments;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = separator == '\\' ? cp932::FindChar(rest, '\\', start) : rest.find('/', start);
    if (end == npos) end = rest.size();
    std::string_view segment = rest.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  return segments;
}

std::string CurrentWindowsFolder() { return _getcwd(); }

// The folder serving a root-qualified path, and the text after the root.
struct Rooted {
  std::string folder;
  std::string_view rest;
  bool readOnly = false;
};

// Where the map is the identity, a root serves itself: "C:\\" or "\\\\srv\\share" in UTF-8.
std::optional<Rooted> IdentityRoot(std::string_view full, std::size_t rootEnd) {
  cp932::Conversion root = cp932::ToUtf8(full.substr(0, rootEnd));
  if (!root.ok) return std::nullopt;
  if (!IsUnc(full)) root.text += native::kSeparator;
  return Rooted{root.text, full.substr(rootEnd), false};
}

std::optional<Rooted> FindRoot(std::string_view full, const DriveMap& map) {
  if (IsUnc(full)) {
    std::size_t serverEnd = cp932::FindChar(full, '\\', 2);
    if (serverEnd == npos || serverEnd == 2) return std::nullopt;
    std::size_t shareEnd = cp932::FindChar(full, '\\', serverEnd + 1);
    if (shareEnd == npos) shareEnd = full.size();
    if (map.Identity()) {
      if (shareEnd == serverEnd + 1) return std::nullopt;
      return IdentityRoot(full, shareEnd);
    }
    const ShareEntry* share =
        map.Share(full.substr(2, serverEnd - 2), full.substr(serverEnd + 1, shareEnd - serverEnd - 1));
    if (share == nullptr) return std::nullopt;
    return Rooted{share->folder, full.substr(shareEnd), false};
  }
  if (!HasDrivePrefix(full) || !IsLetter(full[0])) return std::nullopt;
  if (map.Identity()) return IdentityRoot(full, 2);
  const DriveEntry& drive = map.Drive(full[0]);
  if (!drive.present || drive.folder.empty()) return std::nullopt;
  return Rooted{drive.folder, full.substr(2), drive.type == DRIVE_CDROM};
}

}  // namespace

namespace detail {

std::optional<ResolvedPath> Resolve(const std::string& windowsPath) {
  if (windowsPath.empty() || windowsPath.find('\0') != std::string::npos) return std::nullopt;
  std::string full = windowsPath;
  if (!IsUnc(full) && !HasDrivePrefix(full)) {
    std::string cwd = CurrentWindowsFolder();
    if (cwd.empty()) return std::nullopt;
    if (full[0] == '\\') {
      std::string root = cwd;
      PathStripToRootA(root);
      full = root + (root.back() == '\\' ? full.substr(1) : full);
    } else {
      full = cwd + (EndsWithSeparator(cwd) ? "" : "\\") + full;
    }
  }
  std::shared_ptr<const DriveMap> map = DriveMap::Current();
  std::optional<Rooted> rooted = FindRoot(full, *map);
  if (!rooted) return std::nullopt;
  ResolvedPath resolved{rooted->folder, rooted->readOnly};
  std::vector<std::string_view> segments = Segments(rooted->rest, '\\');
  for (std::string_view segment : segments) {
    if (segment.find('/') != npos) return std::nullopt;
    cp932::Conversion utf8 = cp932::ToUtf8(segment);
    if (!utf8.ok) return std::nullopt;
    if (resolved.nativePath.back() != native::kSeparator) resolved.nativePath += native::kSeparator;
    resolved.nativePath += utf8.text;
  }
  // "C:\a\" keeps its separator, so that a file named there is not taken for the folder.
  if (!segments.empty() && EndsWithSeparator(rooted->rest)) resolved.nativePath += native::kSeparator;
  return resolved;
}

}  // namespace detail

std::string GetTempPathA() {
  std::string path = platform::detail::TemporaryFolder();
  if (!path.empty() && !EndsWithSeparator(path)) path += '\\';
  return path;
}

std::optional<std::string> ToNativePath(const std::string& windowsPath) {
  std::optional<detail::ResolvedPath> resolved = detail::Resolve(windowsPath);
  if (!resolved) return std::nullopt;
  return resolved->nativePath;
}

std::optional<std::string> ToWindowsPath(const std::string& nativePath) {
  std::optional<std::string> normalized = native::Absolute(nativePath);
  if (!normalized) return std::nullopt;
  std::shared_ptr<const DriveMap> map = DriveMap::Current();
  if (map->Identity()) {
    cp932::Conversion name = cp932::FromUtf8(*normalized);
    if (!name.ok) return std::nullopt;
    return name.text;
  }
  auto covers = [&](const std::string& folder) {
    return normalized->compare(0, folder.size(), folder) == 0 &&
           (normalized->size() == folder.size() || folder.back() == native::kSeparator ||
            (*normalized)[folder.size()] == native::kSeparator);
  };
  std::string root;
  std::size_t bestLength = 0;
  bool found = false;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const DriveEntry& drive = map->Drive(letter);
    if (!drive.present || drive.folder.empty() || !covers(drive.folder)) continue;
    if (!found || drive.folder.size() > bestLength) {
      root = std::string{letter, ':', '\\'};
      bestLength = drive.folder.size();
      found = true;
    }
  }
  for (const ShareEntry& share : map->Shares()) {
    if (!covers(share.folder) || (found && share.folder.size() <= bestLength)) continue;
    root = "\\\\" + share.server + "\\" + share.share + "\\";
    bestLength = share.folder.size();
    found = true;
  }
  if (!found) return std::nullopt;

  std::string result = root;
  for (std::string_view segment :
       Segments(std::string_view(*normalized).substr(bestLength), native::kSeparator)) {
    cp932::Conversion name = cp932::FromUtf8(segment);
    // A Linux name holding a backslash has no Windows form.
    if (!name.ok || cp932::FindChar(name.text, '\\') != npos) return std::nullopt;
    if (!EndsWithSeparator(result)) result += '\\';
    result += name.text;
  }
  return result;
}

unsigned GetDriveTypeA(const std::string& root) {
  std::string text = root.empty() ? _getcwd() : root;
  if (root.empty()) PathStripToRootA(text);
  std::shared_ptr<const DriveMap> map = DriveMap::Current();
  if (map->Identity()) {
    cp932::Conversion nativeRoot = cp932::ToUtf8(text);
    return nativeRoot.ok ? native::RealDriveType(nativeRoot.text) : DRIVE_NO_ROOT_DIR;
  }
  if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
    std::string_view unc = std::string_view(text).substr(2);
    if (EndsWithSeparator(unc)) unc.remove_suffix(1);
    std::size_t sep = cp932::FindChar(unc, '\\');
    if (sep == std::string_view::npos) return DRIVE_NO_ROOT_DIR;
    return map->Share(unc.substr(0, sep), unc.substr(sep + 1)) != nullptr ? DRIVE_REMOTE : DRIVE_NO_ROOT_DIR;
  }
  bool isRoot = (text.size() == 2 || (text.size() == 3 && text[2] == '\\')) && text[1] == ':';
  if (!isRoot) return DRIVE_NO_ROOT_DIR;
  const DriveEntry& drive = map->Drive(text[0]);
  return drive.present ? drive.type : DRIVE_NO_ROOT_DIR;
}

SplitPath _splitpath(const std::string& path) {
  SplitPath parts;
  std::string_view rest = path;
  if (HasDrivePrefix(rest)) {
    parts.drive = std::string(rest.substr(0, 2));
    rest.remove_prefix(2);
  }
  std::size_t lastSeparator = cp932::FindLastChar(rest, '\\');
  if (lastSeparator != npos) {
    parts.dir = cp932::BoundedString(rest.substr(0, lastSeparator + 1), kMaxComponent);
    rest.remove_prefix(lastSeparator + 1);
  }
  std::size_t lastDot = cp932::FindLastChar(rest, '.');
  if (lastDot != npos) {
    parts.ext = cp932::BoundedString(rest.substr(lastDot), kMaxComponent);
    rest = rest.substr(0, lastDot);
  }
  parts.fname = cp932::BoundedString(rest, kMaxComponent);
  return parts;
}

std::optional<std::size_t> PathSkipRootA(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (IsUnc(path)) {
    std::size_t serverEnd = cp932::FindChar(path, '\\', 2);
    if (serverEnd == npos) return std::nullopt;
    std::size_t shareEnd = cp932::FindChar(path, '\\', serverEnd + 1);
    if (shareEnd == npos) return std::nullopt;
    return shareEnd + 1;
  }
  if (path.size() >= 3 && HasDrivePrefix(path) && path[2] == '\\') return 3;
  return std::nullopt;
}

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && path.back() == '\\' && !cp932::IsMbsTrail(path, path.size() - 1);
}

bool PathStripToRootA(std::string& path) {
  if (IsUnc(path)) {
    std::size_t serverEnd = cp932::FindChar(path, '\\', 2);
    if (serverEnd != npos) {
      std::size_t shareEnd = cp932::FindChar(path, '\\', serverEnd + 1);
      if (shareEnd != npos) path.resize(shareEnd);
    }
    return true;
  }
  if (HasDrivePrefix(path)) {
    path.resize(path.size() >= 3 && path[2] == '\\' ? 3 : 2);
    return true;
  }
  if (!path.empty() && path[0] == '\\') {
    path.resize(1);
    return true;
  }
  return false;
}

}  // namespace platform::win

// Path routines over code page 932 text: character-wise searches, folder and file parts,
// the folder test, and folder creation with its rollback.
#include "dialog/PathRoutines.h"

#include <optional>
#include <vector>

#include "platform/WinFs.h"
#include "platform/WinTypes.h"

namespace dialog {

namespace {

namespace win = platform::win;

using platform::cp932::CharLength;

// Start offsets of every character, in order.
std::vector<std::size_t> CharStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) starts.push_back(i);
  return starts;
}

// Reduced to its folder with a trailing separator, split into root and the part after it.
struct RootedFolder {
  std::string root;  // ends in a separator
  std::string rel;
};

std::optional<RootedFolder> SplitRooted(std::string_view text) {
  std::string work(text);
  if (work.empty() || !ReduceToFolder(work) || !EnsureTrailingSeparator(work, platform::kPathCapacity)) {
    return std::nullopt;
  }
  if (work.size() > platform::kPathCapacity - 1) return std::nullopt;
  std::optional<std::size_t> skip = win::PathSkipRootA(work);
  if (!skip || *skip > work.size()) return std::nullopt;
  RootedFolder result;
  result.rel = work.substr(*skip);
  result.root = work;
  if (!win::PathStripToRootA(result.root) || !EnsureTrailingSeparator(result.root, platform::kPathCapacity)) {
    return std::nullopt;
  }
  return result;
}

}  // namespace

std::size_t FindDoubleSeparator(std::string_view text, std::size_t from) {
  for (std::size_t i = 0; i + 1 < text.size(); i += CharLength(text, i)) {
    // A separator is always one byte, so the character after it starts at i + 1.
    if (i >= from && text[i] == '\\' && text[i + 1] == '\\' && CharLength(text, i) == 1) return i;
  }
  return std::string_view::npos;
}

bool EnsureTrailingSeparator(std::string& text, std::size_t capacity) {
  if (text.empty()) return false;
  std::size_t last = text.size() - 1;
  if (text[last] == '\\' && !IsDbcsBytePosition(text, last)) return true;
  if (text.size() + 1 >= capacity) return false;
  text.push_back('\\');
  return true;
}

std::string FolderPart(std::string_view path) {
  std::size_t sep = platform::cp932::FindLastChar(path, '\\');
  return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string FileNamePart(std::string_view path) {
  std::size_t sep = platform::cp932::FindLastChar(path, '\\');
  return sep == std::string_view::npos ? std::string(path) : std::string(path.substr(sep + 1));
}

bool ReduceToFolder(std::string& text) {
  win::SplitPath parts = win::_splitpath(text);
  std::string folder = parts.drive + parts.dir;
  if (folder.empty()) return false;
  text = std::move(folder);
  return true;
}

bool IsExistingFolder(std::string_view text) {
  std::string work(text);
  return ReduceToFolder(work) && win::PathIsDirectoryA(work);
}

bool CreateFolderTree(std::string_view folder) {
  std::optional<RootedFolder> tree = SplitRooted(folder);
  if (!tree) return false;
  std::string lastExisting = tree->root;
  const std::string& rel = tree->rel;
  for (std::size_t i = 0; i < rel.size(); i += CharLength(rel, i)) {
    if (rel[i] != '\\' || CharLength(rel, i) != 1) continue;
    std::string level = tree->root + rel.substr(0, i);
    if (!EnsureTrailingSeparator(level, platform::kPathCapacity)) return false;
    if (IsExistingFolder(level)) {
      lastExisting = level;
    } else if (!win::CreateDirectoryA(level)) {
      RemoveCreatedFolders(level, lastExisting);
      return false;
    }
  }
  return true;
}

void RemoveCreatedFolders(std::string_view failed, std::string_view lastExisting) {
  std::optional<RootedFolder> from = SplitRooted(failed);
  std::optional<RootedFolder> kept = SplitRooted(lastExisting);
  if (!from || !kept || !EqualsIgnoreCase(from->root, kept->root)) return;
  const std::string& rel = from->rel;
  if (rel.size() < kept->rel.size() || !EqualsIgnoreCase(rel.substr(0, kept->rel.size()), kept->rel)) {
    return;
  }
  std::vector<std::size_t> starts = CharStarts(rel);
  for (auto it = starts.rbegin(); it != starts.rend() && *it >= 1; ++it) {
    std::size_t k = *it;
    if (rel[k] != '\\' || CharLength(rel, k) != 1) continue;
    if (k <= kept->rel.size() && EqualsIgnoreCase(rel.substr(0, k), kept->rel.substr(0, k))) return;
    std::string level = from->root + rel.substr(0, k) + '\\';
    if (IsExistingFolder(level) && !win::RemoveDirectoryA(level)) return;
  }
}

}  // namespace dialog

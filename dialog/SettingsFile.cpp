// Reading and rewriting the settings file.
//
// A key matches only at the start of a line, so a key that appears inside another line or
// inside a path is never taken. Lines edited by hand are read as far as they are sound: a
// line whose value has fewer than three "/" or is longer than 511 bytes is ignored (a later
// sound line for the key is taken; without one the key counts as not found, and the next save
// removes every line of the key); a carriage return before the line feed is dropped. The file
// is read and rewritten whole, whatever its size. A save writes the new content to a temporary
// file beside the old one and renames it over the old one, so an interrupted save never loses
// the other lines.
#include "dialog/SettingsFile.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "dialog/DecimalValue.h"
#include "dialog/PathRoutines.h"
#include "platform/WinFs.h"

namespace win = platform::win;

namespace {

// Each line of content as the text between line feeds (the feed not included).
std::vector<std::string_view> Lines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    lines.push_back(content.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool StartsWith(std::string_view line, std::string_view key) {
  return !key.empty() && line.substr(0, key.size()) == key;
}

}  // namespace

std::string SettingsKey(std::string_view userId, int32_t selectedNo1, int32_t selectedNo2) {
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, "/%d/%d:", selectedNo1, selectedNo2);
  return std::string(userId) + numbers;
}

std::string SettingsLine(const std::string& key, const SettingsValues& values) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%d/%d/%d/%d/", values.firstMonth, values.lastMonth, values.kind,
                values.withLedger);
  return key + numbers + values.path + "\n";
}

bool FindSettings(std::string_view content, std::string_view key, SettingsValues& values) {
  for (std::string_view line : Lines(content)) {
    if (!StartsWith(line, key)) continue;
    std::string_view value = line.substr(key.size());
    // A file saved by a Windows editor ends its lines in CR LF; the CR is no part of the path.
    if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
    if (value.size() > kSettingsValueLimit) continue;
    std::size_t slash1 = value.find('/');
    std::size_t slash2 = slash1 == std::string_view::npos ? slash1 : value.find('/', slash1 + 1);
    std::size_t slash3 = slash2 == std::string_view::npos ? slash2 : value.find('/', slash2 + 1);
    if (slash3 == std::string_view::npos) continue;
    std::size_t slash4 = value.find('/', slash3 + 1);

    values.path = std::string(value.substr(value.rfind('/') + 1));
    values.firstMonth = static_cast<int16_t>(DecimalValue(value.substr(0, slash1)));
    values.lastMonth = static_cast<int16_t>(DecimalValue(value.substr(slash1 + 1, slash2 - slash1 - 1)));
    values.kind = static_cast<int16_t>(DecimalValue(value.substr(slash2 + 1, slash3 - slash2 - 1)));
    values.withLedger =
        slash4 == std::string_view::npos ? 1 : DecimalValue(value.substr(slash3 + 1, slash4 - slash3 - 1));
    return true;
  }
  return false;
}

std::string ReplaceSettingsLine(std::string_view content, std::string_view key, std::string_view newLine) {
  std::string result;
  result.reserve(content.size() + newLine.size());
  for (std::string_view line : Lines(content)) {
    if (StartsWith(line, key)) continue;
    result.append(line);
    result.push_back('\n');
  }
  result.append(newLine);
  return result;
}

bool LoadSettingsFile(const std::string& filePath, std::string_view key, SettingsValues& values) {
  std::optional<std::string> content = win::ReadWholeFile(filePath);
  if (!content) return false;
  SettingsValues found = values;
  if (!FindSettings(*content, key, found)) return false;
  values = std::move(found);
  return true;
}

bool SaveSettingsFile(const std::string& folder, const std::string& filePath, std::string_view key,
                      std::string_view line) {
  if (folder.empty()) return false;
  if (!dialog::IsExistingFolder(folder) && !dialog::CreateFolderTree(folder)) return false;

  std::string content;
  if (win::GetFileStatus(filePath) == win::FileStatus::File) {
    std::optional<std::string> old = win::ReadWholeFile(filePath);
    if (!old) return false;
    content = ReplaceSettingsLine(*old, key, line);
  } else {
    content = std::string(line);
  }

  win::File file;
  if (!file.CreateTemporary(filePath)) return false;
  const std::string temporary = file.TemporaryPath();
  bool written = file.Write(content.data(), content.size());
  written = file.Close() && written;
  if (!written || !win::MoveFileReplace(temporary, filePath)) {
    win::DeleteFileA(temporary);
    return false;
  }
  return true;
}

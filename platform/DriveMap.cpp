// Parsing of the drive map file and the per-process cache keyed on VELMORA_DRIVES.
#include "platform/DriveMap.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/Cp932.h"
#include "platform/NativeFile.h"
#include "platform/NativePath.h"
#include "platform/WinFs.h"
#include "platform/WinTypes.h"

namespace platform::win {

namespace {

// Type names of the file; a number 0-6 is accepted too.
constexpr std::array<std::string_view, 7> kTypeNames = {"unknown", "noroot", "removable", "fixed",
                                                        "remote",  "cdrom",  "ramdisk"};

std::optional<unsigned> ParseType(std::string_view word) {
  for (unsigned t = 0; t < kTypeNames.size(); ++t) {
    if (word == kTypeNames[t] || (word.size() == 1 && word[0] == static_cast<char>('0' + t))) return t;
  }
  return std::nullopt;
}

// Whitespace-separated words; a word in double quotes may hold blanks.
std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string word;
    if (line[i] == '"') {
      std::size_t end = line.find('"', i + 1);
      if (end == std::string_view::npos) end = line.size();
      word = std::string(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

// One share line: \\server\share folder.
bool ParseShare(const std::vector<std::string>& words, ShareEntry& entry, std::string& error) {
  cp932::Conversion name = cp932::FromUtf8(words[0]);
  if (!name.ok) {
    error = "share name not in code page 932: " + name.error;
    return false;
  }
  std::string_view text = name.text;
  text.remove_prefix(2);
  std::size_t sep = cp932::FindChar(text, '\\');
  if (sep == 0 || sep == std::string_view::npos || sep + 1 >= text.size() ||
      cp932::FindChar(text, '\\', sep + 1) != std::string_view::npos) {
    error = "a share is written \\\\server\\share";
    return false;
  }
  if (words.size() != 2 || !native::IsAbsoluteFolder(words[1])) {
    error = "a share needs one absolute folder";
    return false;
  }
  entry.server = std::string(text.substr(0, sep));
  entry.share = std::string(text.substr(sep + 1));
  entry.folder = native::NormalizeFolder(words[1]);
  return true;
}

// One drive line: X: folder-or-dash [type].
bool ParseDrive(const std::vector<std::string>& words, char& letter, DriveEntry& entry, std::string& error) {
  const std::string& drive = words[0];
  char c = drive[0];
  if (drive.size() != 2 || drive[1] != ':' || !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
    error = "a drive is written as a letter and a colon";
    return false;
  }
  letter = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
  if (words.size() < 2 || words.size() > 3) {
    error = "a drive needs a folder (or -) and an optional type";
    return false;
  }
  if (words[1] != "-" && !native::IsAbsoluteFolder(words[1])) {
    error = "a drive folder must be absolute, or - for none";
    return false;
  }
  entry.present = true;
  entry.folder = words[1] == "-" ? std::string() : native::NormalizeFolder(words[1]);
  entry.type = DRIVE_FIXED;
  if (words.size() == 3) {
    std::optional<unsigned> type = ParseType(words[2]);
    if (!type) {
      error = "unknown drive type " + words[2];
      return false;
    }
    entry.type = *type;
  }
  return true;
}

}  // namespace

DriveMap DriveMap::Parse(std::string_view text, std::vector<std::string>* errors) {
  DriveMap map;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    std::vector<std::string> words = SplitWords(line);
    if (words.empty() || words[0][0] == '#') continue;
    std::string error;
    if (words[0].rfind("\\\\", 0) == 0) {
      ShareEntry share;
      if (ParseShare(words, share, error)) map.shares_.push_back(std::move(share));
    } else {
      char letter = 0;
      DriveEntry drive;
      if (ParseDrive(words, letter, drive, error)) map.drives_[letter - 'A'] = std::move(drive);
    }
    if (!error.empty() && errors != nullptr) {
      errors->push_back("line " + std::to_string(lineNumber) + ": " + error);
    }
  }
  return map;
}

DriveMap DriveMap::Default() {
  DriveMap map;
#ifdef _WIN32
  map.identity_ = true;
#else
  map.drives_['Z' - 'A'] = DriveEntry{true, "/", DRIVE_FIXED};
#endif
  return map;
}

namespace {

// What the cached map was read from: the variable's value and the file's identity and
// modification time, so that a map file rewritten in place is read again too.
struct MapSource {
  std::optional<std::string> file;
  std::optional<native::FileStamp> stamp;

  bool operator==(const MapSource&) const = default;
};

MapSource CurrentSource() {
  MapSource source;
  const char* env = std::getenv("VELMORA_DRIVES");
  if (env == nullptr || *env == '\0') return source;
  source.file = env;
  source.stamp = native::StampOf(env);
  return source;
}

}  // namespace

DriveMap DriveMap::FromFile(const std::string& path) {
  std::string reason;
  std::optional<std::string> content = ReadNativeFile(path, reason);
  if (!content) {
    std::fprintf(stderr, "drive map %s cannot be read (%s): no drive is mapped\n", path.c_str(),
                 reason.c_str());
    DriveMap map = DriveMap::Parse({});
    map.file_ = path;
    map.readError_ = reason;
    return map;
  }
  std::vector<std::string> errors;
  DriveMap map = DriveMap::Parse(*content, &errors);
  for (const std::string& error : errors)
    std::fprintf(stderr, "drive map %s, %s\n", path.c_str(), error.c_str());
  map.file_ = path;
#ifndef _WIN32
  // A map written for the documents alone (C: only) must not leave ZentorDef.ini and
  // SUPPORT.INF beside the program out of reach.
  const std::optional<std::string> program = native::ProgramFolder();
  if (!map.drives_['Z' - 'A'].present && program && !map.Serves(*program)) {
    map.drives_['Z' - 'A'] = DriveEntry{true, "/", DRIVE_FIXED};
  }
#endif
  return map;
}

bool DriveMap::Serves(const std::string& folder) const {
  auto covers = [&folder](const std::string& root) {
    return !root.empty() && folder.compare(0, root.size(), root) == 0 &&
           (folder.size() == root.size() || root.back() == native::kSeparator ||
            folder[root.size()] == native::kSeparator);
  };
  if (identity_) return true;
  for (const DriveEntry& drive : drives_) {
    if (drive.present && covers(drive.folder)) return true;
  }
  for (const ShareEntry& share : shares_) {
    if (covers(share.folder)) return true;
  }
  return false;
}

std::string DriveMap::ProgramFolderProblem() {
  std::shared_ptr<const DriveMap> map = Current();
  const std::optional<std::string> program = native::ProgramFolder();
  if (!program) return "the system does not say where the program's own file is";
  if (ToWindowsPath(*program)) return {};
  if (!map->readError_.empty()) {
    return "the drive map " + map->file_ + " (VELMORA_DRIVES) cannot be read (" + map->readError_ +
           "): correct the variable, or unset it to use Z: for /";
  }
  if (map->Serves(*program)) {
    return "the program's folder " + *program +
           " has no name in code page 932: install the program in a folder whose name has one";
  }
  return "the program's folder " + *program + " is on no drive of the drive map " + map->file_ +
         " (VELMORA_DRIVES): add a line for it, such as \"Z: / fixed\"";
}

std::shared_ptr<const DriveMap> DriveMap::Current() {
  static std::mutex mutex;
  static MapSource cachedSource;
  static std::shared_ptr<const DriveMap> cached;
  std::lock_guard lock(mutex);
  MapSource source = CurrentSource();
  if (cached && source == cachedSource) return cached;
  cachedSource = source;
  cached = std::make_shared<const DriveMap>(source.file ? FromFile(*source.file) : Default());
  return cached;
}

const DriveEntry& DriveMap::Drive(char letter) const {
  static const DriveEntry kNone;
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return kNone;
  return drives_[letter - 'A'];
}

const ShareEntry* DriveMap::Share(std::string_view server, std::string_view share) const {
  for (const ShareEntry& entry : shares_) {
    if (cp932::EqualsIgnoreCase(entry.server, server) && cp932::EqualsIgnoreCase(entry.share, share))
      return &entry;
  }
  return nullptr;
}

}  // namespace platform::win

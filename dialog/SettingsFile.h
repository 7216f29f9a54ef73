// The settings file: one line per host user and data, "user/no1/no2:first/last/kind/ledger/path\n"
// in code page 932, the line of the latest run at the end. Each edition has its own file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The remembered conditions of one line.
struct SettingsValues {
  int16_t firstMonth = 0;
  int16_t lastMonth = 0;
  int16_t kind = 1;        // 1 or 2: the statement of changes
  int32_t withLedger = 1;  // the general-ledger choice
  std::string path;        // output path, may be empty
};

// Longest value (the text after the key) read; a longer line is ignored as hand-edited.
inline constexpr std::size_t kSettingsValueLimit = 511;

// "user/no1/no2:"
std::string SettingsKey(std::string_view userId, int32_t selectedNo1, int32_t selectedNo2);
// The whole line for key, ended by a line feed.
std::string SettingsLine(const std::string& key, const SettingsValues& values);

// Reads the line for key out of the file content; false when there is none or it is unusable.
bool FindSettings(std::string_view content, std::string_view key, SettingsValues& values);
// The content without any line for key and with newLine at its end.
std::string ReplaceSettingsLine(std::string_view content, std::string_view key, std::string_view newLine);

// Reads the line for key from the file at filePath; values untouched when false.
bool LoadSettingsFile(const std::string& filePath, std::string_view key, SettingsValues& values);
// Stores line as the key's line of the file filePath inside folder (created when missing).
bool SaveSettingsFile(const std::string& folder, const std::string& filePath, std::string_view key,
                      std::string_view line);

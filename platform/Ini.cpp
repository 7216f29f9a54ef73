// GetPrivateProfileStringA over a file read as code page 932 bytes. Lines starting with ";"
// are comments; the first section of a name and the first key of a name win; a line without
// "=" is not a key. Names compare without regard to the case of single-byte letters only,
// so the second byte of a double-byte character is never folded.
#include "platform/Ini.h"

#include <string_view>

#include "platform/Cp932.h"
#include "platform/WinFs.h"

namespace platform::win {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The value of key in section; none when the section or the key is absent.
std::optional<std::string_view> FindValue(std::string_view content, std::string_view section,
                                          std::string_view key) {
  bool inSection = false;
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    std::string_view line = Trim(content.substr(0, end));
    content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (inSection) return std::nullopt;
      std::size_t close = cp932::FindLastChar(line, ']');
      std::string_view name =
          Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
      inSection = cp932::EqualsIgnoreCase(name, section);
      continue;
    }
    if (!inSection) continue;
    std::size_t equals = cp932::FindChar(line, '=');
    if (equals == std::string_view::npos) continue;
    if (cp932::EqualsIgnoreCase(Trim(line.substr(0, equals)), key)) return Trim(line.substr(equals + 1));
  }
  return std::nullopt;
}

// A value wholly enclosed in the same kind of quotation marks loses them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, std::size_t bufferSize,
                                     const std::string& path) {
  if (bufferSize == 0) return {};
  std::optional<std::string> content = ReadWholeFile(path);
  std::optional<std::string_view> value;
  if (content) value = FindValue(*content, section, key);
  std::string_view result;
  if (value) {
    result = Unquote(*value);
  } else {
    // Windows drops the trailing blanks of the default.
    result = defaultValue;
    while (!result.empty() && result.back() == ' ') result.remove_suffix(1);
  }
  return cp932::BoundedString(result, bufferSize - 1);
}

}  // namespace platform::win

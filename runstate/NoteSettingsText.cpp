// Parsing of the saved settings texts. Values are decimal numbers read as atol reads them
// (leading blanks skipped, digits up to the first other character).
#include "runstate/NoteSettingsText.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

// The value from start to the first CR, LF or the end of the text, as atol reads it.
long LineValue(std::string_view text, std::size_t start) {
  const std::size_t end = text.find_first_of("\r\n", start);
  const std::string value(
      text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
  return std::strtol(value.c_str(), nullptr, 10);
}

// The number at start as atol reads it (white space skipped first, line breaks included);
// only a short stretch is copied, so long texts are not copied once per section.
long NumberAt(std::string_view text, std::size_t start) {
  constexpr std::size_t kNumberWidth = 24;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  const std::string value(text.substr(start, kNumberWidth));
  return std::strtol(value.c_str(), nullptr, 10);
}

}  // namespace

bool InputModeInText(std::string_view text) {
  const std::size_t key = text.find("InputMode");
  if (key == std::string_view::npos) return false;
  const std::size_t equals = text.find('=', key + 1);
  if (equals == std::string_view::npos) return false;
  return LineValue(text, equals + 1) > 0;
}

bool NoteFlagInText(std::string_view text) {
  constexpr std::string_view kKey = "Note=";
  const std::size_t key = text.find(kKey);
  if (key == std::string_view::npos) return false;
  const std::size_t value = key + kKey.size();
  if (value >= text.size()) return false;
  return LineValue(text, value) > 0;
}

void NoteDispFlagsInText(std::string_view text, uint8_t (&flags)[kNoteDispFlagCount]) {
  constexpr std::string_view kSection = "[Note_";
  constexpr std::string_view kDisp = "Disp=";
  constexpr std::size_t kDispSearchOffset = 9;
  std::size_t pos = 0;
  // Sections past the fiftieth have no entry and are ignored.
  for (int k = 0; k < kNoteDispFlagCount;) {
    const std::size_t section = text.find(kSection, pos);
    if (section == std::string_view::npos) return;
    // A section head near the end of the text has no room for a Disp value after it.
    if (section + kDispSearchOffset > text.size()) return;
    const std::size_t disp = text.find(kDisp, section + kDispSearchOffset);
    if (disp == std::string_view::npos) return;
    const std::size_t value = disp + kDisp.size();
    flags[k++] = static_cast<uint8_t>(NumberAt(text, value));
    if (value >= text.size()) return;
    pos = value;
  }
}

// The saved note text turned into lines: the five XML entities decoded in one pass, then
// the text split at CR LF.
#include <string_view>

#include "runstate/SavedNotesReader.h"

namespace {

struct Entity {
  std::string_view name;
  char value;
};

constexpr Entity kEntities[] = {
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'},
};

// Replacements are never rescanned: "&amp;lt;" stays the four characters "&lt;".
std::string DecodeEntities(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  const std::string_view view(text);
  std::size_t i = 0;
  while (i < view.size()) {
    bool replaced = false;
    if (view[i] == '&') {
      for (const Entity& entity : kEntities) {
        if (view.substr(i, entity.name.size()) == entity.name) {
          out += entity.value;
          i += entity.name.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += view[i++];
  }
  return out;
}

}  // namespace

void LoadNoteLines(std::string text, std::vector<std::string>& lines) {
  constexpr std::string_view kBreak = "\r\n";
  lines.clear();
  text = DecodeEntities(text);
  if (text.find(kBreak) == std::string::npos) {
    if (!text.empty()) lines.push_back(text);
    return;
  }
  if (!text.ends_with(kBreak)) text += kBreak;
  std::size_t start = 0;
  for (std::size_t pair = text.find(kBreak); pair != std::string::npos; pair = text.find(kBreak, start)) {
    lines.emplace_back(text, start, pair - start);
    start = pair + kBreak.size();
  }
}

// The three saved-notes texts: the notes setting (kind 0), the note settings with the
// input mode and the display flags (kind 100) and the note text (kind 1000).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runstate/NoteSettingsText.h"
#include "runstate/SavedNotesReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)NoteFlagInText(text);
  (void)InputModeInText(text);
  uint8_t flags[kNoteDispFlagCount] = {};
  NoteDispFlagsInText(text, flags);
  std::vector<std::string> lines;
  LoadNoteLines(text, lines);
  return 0;
}

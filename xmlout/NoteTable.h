// The table of the non-consolidated notes: one entry per element of the notes list, in
// document order, so that an entry's subtree is the run of entries after it with a higher
// level. The section indexes the display flags of the saved notes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct NoteEntry {
  int16_t section;     // index into the saved notes' display flags
  int32_t noteNumber;  // seven digits, as the saved notes key their records
  int16_t level;       // the element's level in the document, 3 to 8
  const char* name;    // element name
};

inline constexpr std::size_t kNoteEntryCount = 177;

extern const std::array<NoteEntry, kNoteEntryCount> kNoteTable;

// Readings of the host's saved settings texts (code page 932): the notes input mode, the
// notes flag and the Disp value of each note section.
#pragma once

#include <cstdint>
#include <string_view>

#include "runstate/SavedNotesReader.h"

// True when the value after "InputMode" and its "=" (blanks allowed) is greater than 0.
bool InputModeInText(std::string_view text);
// True when the value after the first "Note=" is greater than 0.
bool NoteFlagInText(std::string_view text);
// Fills flags with the Disp value of each "[Note_" section, in order; at most 50 entries.
void NoteDispFlagsInText(std::string_view text, uint8_t (&flags)[kNoteDispFlagCount]);

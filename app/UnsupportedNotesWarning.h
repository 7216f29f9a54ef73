// The warning about saved note kinds that the link cannot carry.
#pragma once

#include <cstdint>
#include <string>

#include "runstate/SavedNotesReader.h"

// The warning text (code page 932) for the note sections marked for display among codes
// 32, 20, 21, 16, 17 and 33, in that order; empty when none of them is marked.
std::string UnsupportedNotesWarning(const uint8_t (&flags)[kNoteDispFlagCount]);

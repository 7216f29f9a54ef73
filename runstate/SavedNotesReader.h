// Reads the host's saved financial-statement documents: whether notes are carried over,
// which note sections are displayed, and the note text, decoded into lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runstate/ReadFailure.h"

class ClSaveKessansho;

inline constexpr int kNoteDispFlagCount = 50;

class SavedNotesReader {
 public:
  SavedNotesReader();
  virtual ~SavedNotesReader();

  // 1 when the runtime delivered a buffer (the caller frees it with CoTaskMemFree), else 0.
  // A document that does not exist is no failure; one that could not be read is noted in
  // readFailure, so that notes are never dropped silently.
  int ReadSavedData(long kind, void** buffer, long* length);
  bool IsInputModeOn();
  bool IsNoteOn();
  // Entry k = the Disp value of the (k+1)-th note section; sections past the 50th are ignored.
  void ReadNoteDispFlags(uint8_t (&flags)[kNoteDispFlagCount]);
  // Always 1; text is empty when no note text was delivered.
  int ReadNotesText(std::string& text);

  // The first read of the run (saved documents here, and the engine's reads) that failed.
  ReadFailure readFailure;

 protected:
  std::unique_ptr<ClSaveKessansho> savedDocument_;
};

// Rebuilds lines from a copy of the note text: entities decoded in one pass, split at CR LF.
void LoadNoteLines(std::string text, std::vector<std::string>& lines);

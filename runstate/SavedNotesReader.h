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
  // Every read that fails is noted in failure, so that notes are never dropped silently.
  explicit SavedNotesReader(ReadFailure& failure);
  ~SavedNotesReader();
  SavedNotesReader(const SavedNotesReader&) = delete;
  SavedNotesReader& operator=(const SavedNotesReader&) = delete;

  // 1 when the runtime delivered a buffer (the caller frees it with CoTaskMemFree), else 0.
  // A document that does not exist is no failure; one that could not be read is.
  int ReadSavedData(long kind, void** buffer, long* length);
  bool IsInputModeOn();
  bool IsNoteOn();
  // Entry k = the Disp value of the (k+1)-th note section; sections past the 50th are ignored.
  void ReadNoteDispFlags(uint8_t (&flags)[kNoteDispFlagCount]);
  // Always 1; text is empty when no note text was delivered.
  int ReadNotesText(std::string& text);

 private:
  // One saved document's text, or empty when it could not be read.
  std::string ReadText(long kind);

  ReadFailure& failure_;
  std::unique_ptr<ClSaveKessansho> savedDocument_;
};

// Rebuilds lines from a copy of the note text: entities decoded in one pass, split at CR LF.
void LoadNoteLines(std::string text, std::vector<std::string>& lines);

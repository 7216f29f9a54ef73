// Reads of the host's saved financial-statement documents. Every buffer the runtime
// delivers belongs to the reader and is released with CoTaskMemFree once read.
#include "runstate/SavedNotesReader.h"

#include <cstring>
#include <new>

#include "platform/Cp932.h"
#include "runstate/NoteSettingsText.h"
#include "runtime/HostCodes.h"
#include "runtime/Managers.h"
#include "runtime/Rules.h"
#include "runtime/Sets.h"

namespace {

// The text of a delivered buffer, never read past its length; empty for no buffer.
std::string BufferText(const void* buffer, long length) {
  if (!buffer || length <= 0) return {};
  const char* text = static_cast<const char*>(buffer);
  return std::string(text, strnlen(text, static_cast<std::size_t>(length)));
}

}  // namespace

SavedNotesReader::SavedNotesReader(ReadFailure& failure) : failure_(failure) {}

SavedNotesReader::~SavedNotesReader() = default;

int SavedNotesReader::ReadSavedData(long kind, void** buffer, long* length) {
  if (!buffer || !length) return 0;
  *buffer = nullptr;
  *length = 0;
  savedDocument_.reset();
  savedDocument_.reset(new (std::nothrow) ClSaveKessansho());
  if (!savedDocument_) {
    failure_.Note(SJ("決算書の保存データ"));
    return 0;
  }

  ClDataMgr& dataMgr = ClDataMgr::Inst();
  savedDocument_->AttachSetMgr(dataMgr.GetSetMgr());
  StDATAINFO selected{};
  if (auto* dataSet =
          dynamic_cast<ClSetData*>(dataMgr.GetSetObject(hostcode::kSetData, hostcode::kDataSetArgument))) {
    if (IsReadFailure(dataSet->GetSelectedInfo(&selected))) {
      failure_.NoteHost(SJ("会計データの情報"));
      return 0;
    }
  }
  savedDocument_->SetCurDataID(
      std::string(selected.dataId, strnlen(selected.dataId, sizeof selected.dataId)));
  savedDocument_->AttachOptLink(ClLinkMgr::Inst().GetOptLink());

  if (const long status = savedDocument_->GetDataType02(kind, buffer, length); status != 0) {
    if (IsReadFailure(status)) failure_.NoteHost(SJ("決算書の保存データ"));
    if (*buffer) CoTaskMemFree(*buffer);
    *buffer = nullptr;
    *length = 0;
    return 0;
  }
  return *buffer ? 1 : 0;
}

std::string SavedNotesReader::ReadText(long kind) {
  void* buffer = nullptr;
  long length = 0;
  if (!ReadSavedData(kind, &buffer, &length)) return {};
  std::string text;
  try {
    text = BufferText(buffer, length);
  } catch (const std::bad_alloc&) {
    failure_.Note(SJ("決算書の保存データ"));
    text.clear();
  }
  CoTaskMemFree(buffer);
  return text;
}

bool SavedNotesReader::IsInputModeOn() { return InputModeInText(ReadText(SaveKessanshoKind_NoteSettings)); }

bool SavedNotesReader::IsNoteOn() { return NoteFlagInText(ReadText(SaveKessanshoKind_Settings)); }

void SavedNotesReader::ReadNoteDispFlags(uint8_t (&flags)[kNoteDispFlagCount]) {
  NoteDispFlagsInText(ReadText(SaveKessanshoKind_NoteSettings), flags);
}

int SavedNotesReader::ReadNotesText(std::string& text) {
  text = ReadText(SaveKessanshoKind_NoteText);
  return 1;
}

// The non-consolidated notes list: the note table walked in document order, one element per
// note that the saved notes mark as displayed, with the note's text lines inside it.
//
// A saved note record in noteLines: a line holding "<ID>" and the note number; on the
// fourth line of the record "<Disp>" and the display flag; on the fifth "<Value>"; then one
// line per text line, each holding "<Line>" and the text, possibly ended by "</Line>".
#include <cstdio>
#include <string>
#include <string_view>

#include "xmlout/NoteTable.h"
#include "xmlout/StatementWriter.h"
#include "xmlout/XmlElementWriter.h"

namespace {

constexpr std::string_view kIdMarker = "<ID>";
constexpr std::string_view kDispMarker = "<Disp>";
constexpr std::string_view kValueMarker = "<Value>";
constexpr std::string_view kLineMarker = "<Line>";
constexpr std::string_view kLineEndMarker = "</Line>";
constexpr std::size_t kDispOffset = 3;
constexpr std::size_t kValueOffset = 4;

// The text after the first marker in line; none when the line does not hold it.
bool TextAfter(std::string_view line, std::string_view marker, std::string_view& after) {
  const std::size_t at = line.find(marker);
  if (at == std::string_view::npos) {
    return false;
  }
  after = line.substr(at + marker.size());
  return true;
}

bool IsRecordOf(std::string_view line, const std::string& number) {
  std::string_view after;
  return TextAfter(line, kIdMarker, after) && after.find(number) != std::string_view::npos;
}

std::string RemoveAll(std::string_view text, std::string_view marker) {
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = text.find(marker); at != std::string_view::npos; at = text.find(marker, from)) {
    result.append(text.substr(from, at - from));
    from = at + marker.size();
  }
  result.append(text.substr(from));
  return result;
}

}  // namespace

bool StatementWriter::IsNoteDisplayed(int32_t noteNumber) const {
  if (inputs_.noteLines == nullptr) {
    return false;
  }
  const std::vector<std::string>& lines = *inputs_.noteLines;
  const std::string number = std::to_string(noteNumber);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsRecordOf(lines[i], number)) {
      continue;
    }
    std::string_view flag;
    if (i + kDispOffset < lines.size() && TextAfter(lines[i + kDispOffset], kDispMarker, flag)) {
      return !flag.empty() && flag.front() == '1';
    }
  }
  return false;
}

std::size_t StatementWriter::FindNoteRecord(int32_t noteNumber) const {
  const std::vector<std::string>& lines = *inputs_.noteLines;
  const std::string number = std::to_string(noteNumber);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsRecordOf(lines[i], number)) {
      return i;
    }
  }
  return lines.size();
}

int StatementWriter::WriteNoteText(int32_t noteNumber, int level, XmlElementWriter& xml) {
  if (inputs_.noteLines == nullptr) {
    return 1;
  }
  const std::vector<std::string>& lines = *inputs_.noteLines;
  const std::size_t record = FindNoteRecord(noteNumber);
  std::string_view unused;
  if (record + kValueOffset >= lines.size() ||
      !TextAfter(lines[record + kValueOffset], kValueMarker, unused)) {
    return 1;
  }
  for (std::size_t i = record + kValueOffset + 1; i < lines.size(); ++i) {
    std::string_view text;
    if (!TextAfter(lines[i], kLineMarker, text)) {
      break;
    }
    if (!xml.WriteElement("Line", RemoveAll(text, kLineEndMarker), level)) return 0;
  }
  return 1;
}

int StatementWriter::WriteNoteChildren(std::size_t first, std::size_t end, XmlElementWriter& xml) {
  std::size_t index = first;
  while (index < end) {
    std::size_t next = index + 1;
    if (WriteNoteEntry(index, xml, next) != 1) return 0;
    index = next;
  }
  return 1;
}

int StatementWriter::WriteNoteEntry(std::size_t index, XmlElementWriter& xml, std::size_t& next) {
  const NoteEntry& entry = kNoteTable[index];
  std::size_t end = index + 1;
  while (end < kNoteTable.size() && kNoteTable[end].level > entry.level) {
    ++end;
  }
  next = end;

  const bool written = IsNoteDisplayed(entry.noteNumber) && inputs_.noteDispFlags != nullptr &&
                       inputs_.noteDispFlags[entry.section] != 0;
  if (!written) {
    // The user marked the notes below for display: they take this entry's place, each at
    // its own level, so that none of them is lost.
    return WriteNoteChildren(index + 1, end, xml);
  }
  if (!xml.StartElement(entry.name, entry.level)) return 0;
  if (WriteNoteText(entry.noteNumber, entry.level + 1, xml) != 1) return 0;
  if (WriteNoteChildren(index + 1, end, xml) != 1) return 0;
  return xml.EndElement(entry.name, entry.level);
}

int StatementWriter::WriteNotesList(XmlElementWriter& xml) {
  if (!xml.StartElement("ListNotesNonConsolidated", 2)) return 0;
  std::size_t index = 0;
  while (index < kNoteTable.size() && kNoteTable[index].noteNumber != 0) {
    std::size_t next = index + 1;
    if (WriteNoteEntry(index, xml, next) != 1) return 0;
    index = next;
  }
  return xml.EndElement("ListNotesNonConsolidated", 2);
}

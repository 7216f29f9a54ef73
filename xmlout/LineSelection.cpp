// The line selections of the statement writer.
#include "xmlout/LineSelection.h"

#include <new>

namespace {

bool IsListedKind(const StatementLine& line) { return line.rowKind == 0 || line.rowKind == 3; }

uint32_t CharacterOf(const StatementLine& line) { return static_cast<uint32_t>(line.accountCharacter); }

template <typename Predicate>
bool Select(const StatementLineList& lines, LineSelection& selected, Predicate keep) {
  selected.clear();
  try {
    for (const StatementLine& line : lines) {
      if (IsListedKind(line) && keep(CharacterOf(line))) {
        selected.push_back(&line);
      }
    }
  } catch (const std::bad_alloc&) {
    selected.clear();
    return false;
  }
  return true;
}

}  // namespace

const StatementLine* FindLine(const StatementLineList& lines, uint32_t code) {
  for (const StatementLine& line : lines) {
    if (CharacterOf(line) == code) {
      return &line;
    }
  }
  return nullptr;
}

bool SelectByMask(const StatementLineList& lines, uint32_t mask, LineSelection& selected) {
  return Select(lines, selected, [mask](uint32_t character) { return (character & mask) == mask; });
}

bool SelectExact(const StatementLineList& lines, uint32_t code, LineSelection& selected) {
  return Select(lines, selected, [code](uint32_t character) { return character == code; });
}

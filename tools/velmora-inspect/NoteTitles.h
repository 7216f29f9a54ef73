// The Japanese titles of the notes, by element name: what the notes to the financial
// statements are called in a company's own statements (重要な会計方針に係る事項に関する注記,
// 担保に供している資産, ...). show heads each note with its title.
#pragma once

#include <string>
#include <string_view>

namespace inspect {

// The title of the note element; the element name itself for a name that is no note.
std::string NoteTitle(std::string_view element);

}  // namespace inspect

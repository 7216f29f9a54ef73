// Filling the host records' text fields byte for byte from the store's code page 932 BLOBs.
#pragma once

#include <cstddef>
#include <string_view>

namespace orbeck {

// A name field of fixed width: as many bytes as fit without splitting a double-byte
// character; a name that fills the width carries no NUL, a shorter one is NUL-padded.
void FillNameField(char* field, std::size_t width, std::string_view text);

// A zero-terminated field: at most width - 1 bytes of text, the rest NUL.
void FillTextField(char* field, std::size_t width, std::string_view text);

}  // namespace orbeck

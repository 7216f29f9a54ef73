// Path routines of the output destination checks and the settings file: Windows-form paths
// of code page 932 bytes (at most 260 bytes), 0x5C separators. Every search is by character:
// a 0x5C that is the second byte of a double-byte character (as in 表) is never a separator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Cp932.h"

namespace dialog {

using platform::cp932::EqualsIgnoreCase;
using platform::cp932::IsDbcsBytePosition;

// Offset of the first two separators in a row starting at or after from; npos when none.
std::size_t FindDoubleSeparator(std::string_view text, std::size_t from);

// Appends a separator unless the text already ends in one; fails on empty text or when
// the text is already capacity - 1 bytes long (and would need a separator).
bool EnsureTrailingSeparator(std::string& text, std::size_t capacity);
// The text up to and including its last separator; empty when there is none.
std::string FolderPart(std::string_view path);
// The text after its last separator; the whole path when there is none.
std::string FileNamePart(std::string_view path);
// Drive and directory as _splitpath yields them; fails (text untouched) when both are empty.
bool ReduceToFolder(std::string& text);
// ReduceToFolder, then the directory test.
bool IsExistingFolder(std::string_view text);
// Creates every missing level of folder; a failure part-way removes the levels this call created.
bool CreateFolderTree(std::string_view folder);
// Rollback of CreateFolderTree: removes the levels above lastExisting up to failed, deepest first.
void RemoveCreatedFolders(std::string_view failed, std::string_view lastExisting);

}  // namespace dialog

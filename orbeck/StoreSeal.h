// The seal of a store: a digest of the whole store file that the loader writes beside it
// ("orbeck.db.seal") once the store is complete, and that the runtime checks when it
// attaches. Any changed byte of the store (a damaged page, a write behind the loader's back)
// makes the seal disagree, so a damaged store is refused before anything is read from it.
// Checking costs one sequential read of the file, far less than the integrity check that
// walks every b-tree.
// The seal holds one line per store it accepts: one, except while a load replaces the store,
// when it accepts both the old store and the new one, so that no crash between the two
// renames leaves a store that disagrees with its seal.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeck {

enum class SealCheck { Intact, Missing, Mismatch, Unreadable };

std::filesystem::path SealPathOf(const std::filesystem::path& storePath);
// The seal line of `file` as it is now ("xxh3-64 <16 hex digits> <size>\n"); none when it
// cannot be read.
std::optional<std::string> SealLineOf(const std::filesystem::path& file);
// The lines of a seal file (each with its line end); none when it cannot be read.
std::optional<std::vector<std::string>> SealLines(const std::filesystem::path& sealPath);
// Writes the seal of file (as it is now) to sealPath, through a new file renamed over it;
// false with a message in error.
bool WriteSeal(const std::filesystem::path& file, const std::filesystem::path& sealPath, std::string& error);
// Compares the store with the seal beside it: intact when one of the seal's lines is the
// store's.
SealCheck CheckSeal(const std::filesystem::path& storePath);

// Creates `file`, which must not exist (a link at its name is never followed), writes
// `bytes` and makes them durable; false with a message in error (a half-written file is
// removed).
bool WriteNewFile(const std::filesystem::path& file, std::string_view bytes, std::string& error);
// Makes `file` durable; false when it cannot be synced.
bool SyncFile(const std::filesystem::path& file);
// Makes the names in `folder` durable (renames, new files); on Windows, where a folder
// cannot be synced so, nothing.
bool SyncFolder(const std::filesystem::path& folder);

}  // namespace orbeck

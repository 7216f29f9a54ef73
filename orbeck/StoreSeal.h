// The seal of a store: a digest of the whole store file that the loader writes beside it
// ("orbeck.db.seal") once the store is complete, and that the runtime checks when it
// attaches. Any changed byte of the store (a damaged page, a write behind the loader's back)
// makes the seal disagree, so a damaged store is refused before anything is read from it.
// Checking costs one sequential read of the file, far less than the integrity check that
// walks every b-tree.
#pragma once

#include <filesystem>
#include <string>

namespace orbeck {

enum class SealCheck { Intact, Missing, Mismatch, Unreadable };

std::filesystem::path SealPathOf(const std::filesystem::path& storePath);
// Writes the seal of file (as it is now) to sealPath; false with a message in error.
bool WriteSeal(const std::filesystem::path& file, const std::filesystem::path& sealPath, std::string& error);
// Compares the store with the seal beside it.
SealCheck CheckSeal(const std::filesystem::path& storePath);

}  // namespace orbeck

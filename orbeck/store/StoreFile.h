// Reading a store back into a HostDocument, and checking a store (StoreWriter writes one).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

// 1 read into `out` (balance rows carry their stored sums as explicit sums); 0 with a message.
int ReadStore(const std::filesystem::path& storePath, HostDocument& out, std::string& error);

// The full check of a store: SQLite's integrity check of every page and index, and the
// store against its seal. 1 when both pass; 0 with one line per problem in problems.
int CheckStore(const std::filesystem::path& storePath, std::vector<std::string>& problems);

}  // namespace orbeck::store

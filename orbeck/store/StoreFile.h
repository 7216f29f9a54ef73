// Writing a HostDocument (with its sums filled) into a new SQLite store, and reading a store
// back. Writing goes to a temporary file in the store's folder that replaces the store only
// when complete, so a failure leaves no store and no earlier store changed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

// 1 written; 0 with a message in `error`.
int WriteStore(const HostDocument& document, const std::filesystem::path& storePath, std::string& error);

// 1 read into `out` (balance rows carry their stored sums as explicit sums); 0 with a message.
int ReadStore(const std::filesystem::path& storePath, HostDocument& out, std::string& error);

// The full check of a store: SQLite's integrity check of every page and index, and the
// store against its seal. 1 when both pass; 0 with one line per problem in problems.
int CheckStore(const std::filesystem::path& storePath, std::vector<std::string>& problems);

}  // namespace orbeck::store

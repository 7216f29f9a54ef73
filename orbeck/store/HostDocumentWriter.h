// A HostDocument as a host data document (JSON, format version 1): texts back to UTF-8,
// every balance row with explicit sums, so that loading the result gives the same store.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

// 1 with the document in `out`; 0 with a message when a stored text is not code page 932.
int WriteHostDocument(const HostDocument& document, nlohmann::json& out, std::string& error);

}  // namespace orbeck::store

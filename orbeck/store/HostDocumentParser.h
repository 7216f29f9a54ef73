// Reads a host data document (JSON, format version 1) into a HostDocument, validating
// types, byte limits in code page 932, uniqueness and references. Sums are not derived here.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

// 1 when the document is valid and `out` is filled; 0 with a pointer-named message in `error`.
int ParseHostDocument(const nlohmann::json& document, HostDocument& out, std::string& error);

}  // namespace orbeck::store

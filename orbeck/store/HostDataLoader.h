// The loader and dumper of the host data store: a host data document (JSON, see
// docs/host-data.md) becomes $ORBECK_HOME/orbeck.db and back. Results are 1 for success and
// 0 with a one-line message (a JSON pointer where the document is at fault).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace orbeck::store {

// $ORBECK_HOME, else ~/.local/share/orbeck.
std::filesystem::path DefaultHome();

// home/orbeck.db
std::filesystem::path StorePath(const std::filesystem::path& home);

// Validates the document, derives the balance sums and replaces the store in `home`
// (created when missing). On failure no store is created and an existing one is unchanged.
int LoadHostData(const nlohmann::json& document, const std::filesystem::path& home, std::string& error);

// LoadHostData of the document's text: read as a stream, so that a large document is never
// held as a JSON tree, and members given twice are refused.
int LoadHostDataText(std::string_view text, const std::filesystem::path& home, std::string& error);

// LoadHostDataText of a JSON file, read as it is parsed; errors start with the file's name
// (syntax errors: "FILE: not JSON (byte N)").
int LoadHostDataFile(const std::filesystem::path& file, const std::filesystem::path& home,
                     std::string& error);

// The store of `home` as a document with explicit sums on every balance row.
int DumpHostData(const std::filesystem::path& home, nlohmann::json& out, std::string& error);

}  // namespace orbeck::store

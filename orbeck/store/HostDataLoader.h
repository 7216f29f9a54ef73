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

// What a load put into the store.
struct LoadSummary {
  std::size_t companies = 0;  // data records
  std::size_t accounts = 0;   // accounts, sub-accounts and total rows of every data record
  std::size_t journals = 0;
  std::size_t lines = 0;
};

// Validates the document, derives the balance sums and replaces the store in `home`
// (created when missing). On failure no store is created and an existing one is unchanged.
// `summary`, when given, receives the counts of a successful load.
int LoadHostData(const nlohmann::json& document, const std::filesystem::path& home, std::string& error,
                 LoadSummary* summary = nullptr);

// LoadHostData of the document's text: read as a stream, so that a large document is never
// held as a JSON tree, and members given twice are refused.
int LoadHostDataText(std::string_view text, const std::filesystem::path& home, std::string& error,
                     LoadSummary* summary = nullptr);

// LoadHostDataText of a JSON file, read as it is parsed; errors start with the file's name
// (syntax errors: "FILE: not JSON (byte N)").
int LoadHostDataFile(const std::filesystem::path& file, const std::filesystem::path& home, std::string& error,
                     LoadSummary* summary = nullptr);

// The store of `home` as a document with explicit sums on every balance row.
int DumpHostData(const std::filesystem::path& home, nlohmann::json& out, std::string& error);

}  // namespace orbeck::store

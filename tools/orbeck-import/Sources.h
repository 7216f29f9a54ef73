// The sources of books the importer reads, and the choice among them: by `--from`, else by
// the file's extension. Each source reads one file into a BookSink; results are 1, or 0 with
// a one-line message that names the file and, where it can, the line.
#pragma once

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/orbeck-import/Books.h"

namespace orbeck::import {

enum class SourceKind { Hledger, Csv, Gnucash };

struct SourceRequest {
  std::filesystem::path file;
  std::string from;       // "hledger", "csv", "gnucash", or empty: guessed from the extension
  nlohmann::json csvMap;  // the account map's `csv` member (null when it has none)
  std::string timezone;   // --timezone: a GnuCash book's offset from UTC ("+09:00"), or empty
};

// The kind named by `from`, else guessed from the extension (.journal .hledger .ledger .j
// .json: hledger; .csv: csv; .gnucash .sqlite: gnucash).
int ChooseSource(const SourceRequest& request, SourceKind& kind, std::string& error);

// Reads the request's file with its source into `sink`.
int ReadBooks(const SourceRequest& request, BookSink& sink, std::string& error);

}  // namespace orbeck::import

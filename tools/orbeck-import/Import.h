// One import from start to end: the map, the company and period (options over the map),
// the books read into the importer, then the host data document written to a file or
// loaded into a store, all or nothing.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "tools/orbeck-import/AccountMap.h"

namespace orbeck::import {

struct ImportOptions {
  std::filesystem::path books;
  std::filesystem::path map;  // empty: no map (names and types only)
  std::string from;
  std::string timezone;                       // a GnuCash book's offset from UTC, for the dates of old books
  std::optional<std::filesystem::path> json;  // write the document here
  std::optional<std::filesystem::path> home;  // or load it into this store
  bool explain = false;
  // Options over the map's company.
  std::optional<std::string> company, dataId, user, taxBasis;
  std::optional<std::string> periodStart, periodEnd;
  std::optional<int> closingDay;
};

// 1 when done; 0 with a message (several lines only for the accounts the map does not
// place). Nothing is written on 0.
int RunImport(const ImportOptions& options, std::ostream& explain, std::string& error);

}  // namespace orbeck::import

// Journal CSV -> books: each record one debit/credit pair (either side may be empty), the
// records of one entry grouped by their slip number or by a row-kind column, amounts tax
// included with the tax inside them. Entries reach the sink in date order (records of the
// same date in file order), after every account the file uses.
#pragma once

#include <string>
#include <string_view>

#include "tools/orbeck-import/Books.h"
#include "tools/orbeck-import/csv/CsvLayout.h"

namespace orbeck::import {

// Reads the CSV bytes of the file named `fileName` (for messages). 0 with one line naming
// FILE:LINE when the file is refused: an undecodable byte, a missing column, a bad date, a
// malformed amount (more than 4 decimals among them), an unknown tax class, a tax on an
// untaxed class, an unknown row kind, a slip spanning two dates, an unbalanced slip; or the
// sink's own message when it stops the reading.
int ReadCsvBooks(std::string_view bytes, const std::string& fileName, const CsvLayout& layout, BookSink& sink,
                 std::string& error);

// The same over a file on disk (a UTF-8 path).
int ReadCsvBooksFile(const std::string& path, const CsvLayout& layout, BookSink& sink, std::string& error);

}  // namespace orbeck::import

// Plain-text journals through hledger's JSON: a journal file is printed by Debian's `hledger`
// (`hledger print -O json`), a .json file is taken as such output saved earlier. The JSON is
// read as a stream, one transaction at a time. Account types come from the `type:` tags that
// hledger copies into each posting's tags, else from hledger's own English top-level names.
#pragma once

#include <filesystem>
#include <string>

#include "tools/orbeck-import/Books.h"

namespace orbeck::import {

// Reads hledger's JSON (a saved file) into `sink`.
int ReadHledgerJson(const std::filesystem::path& file, BookSink& sink, std::string& error);

// Runs `hledger print -O json` on the journal and reads its output into `sink`; without
// hledger on the PATH the message says what to install.
int ReadHledgerJournal(const std::filesystem::path& journal, BookSink& sink, std::string& error);

// The type an hledger `type:` tag names (A, L, E, R, X, C, V, or the words); Unknown else.
SourceType TypeOfTag(const std::string& value);

}  // namespace orbeck::import

// Reads a host data document (JSON, format version 1) into a HostDocument, validating
// types, byte limits in code page 932, uniqueness and references. Sums are not derived here.
#pragma once

#include <istream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "orbeck/store/HostDocument.h"
#include "orbeck/store/JournalSink.h"

namespace orbeck::store {

// 1 when the document is valid and `out` is filled; 0 with a pointer-named message in `error`.
int ParseHostDocument(const nlohmann::json& document, HostDocument& out, std::string& error);

// The same from the document's text, read as a stream: journals are taken one by one and
// never held as JSON, and a member that appears twice in an object is refused (a parsed
// tree keeps only one of them). A text that is not JSON gives "not JSON (byte N)".
int ParseHostDocumentText(std::string_view text, HostDocument& out, std::string& error);
// A sink, if given, takes each journal found valid on its own as soon as it is read.
int ParseHostDocumentStream(std::istream& in, HostDocument& out, std::string& error,
                            JournalSink* sink = nullptr);

// The text read by nlohmann's reader alone, the judge of every text the quicker reader does
// not take as JSON: both readings give the same verdict and message for any text.
int ParseHostDocumentTextCarefully(std::string_view text, HostDocument& out, std::string& error);

}  // namespace orbeck::store

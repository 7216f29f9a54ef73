// show: the document for people. In the terminal as tables (the general ledger as one line
// per account, or with every posting on request); as one self-contained HTML page with a
// table of contents. The ledger streams through both: rows are written as they are read.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Source.h"

namespace inspect {

struct ShowOptions {
  bool ledgerRows = false;  // terminal: every posting, not only one line per account
};

// Writes the document to out; returns the problems that kept it from being read whole.
std::vector<Finding> ShowInTerminal(const Source& source, const ShowOptions& options, std::ostream& out);

// Writes the page to htmlPath (through a temporary file beside it).
std::vector<Finding> ShowAsHtml(const Source& source, const std::string& htmlPath);

}  // namespace inspect

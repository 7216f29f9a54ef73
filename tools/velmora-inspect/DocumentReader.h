// Streams a statement document through libxml2's reader: the bytes are decoded from code
// page 932 on the way in (a byte that does not map stops the read at its line), every line
// must end in CR LF, the structure is validated against the document's XML Schema while it
// streams, and the content arrives as the tree before the ledger plus the ledger rows.
#pragma once

#include <string>
#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Report.h"

namespace inspect {

struct ReadResult {
  Element root;                   // REPORT with everything but the ledger's forms
  bool complete = false;          // read to the end: well-formed and every byte decoded
  std::vector<Finding> findings;  // byte, line-end, well-formedness and schema problems
};

struct ReadOptions {
  bool validate = true;  // against the embedded XML Schema
};

ReadResult ReadDocument(const std::string& path, const ReadOptions& options, LedgerSink* sink);

// The XML Schema of the document (docs/rc25.xsd, compiled in).
extern const char kSchemaText[];

}  // namespace inspect

// Streams a statement document through libxml2's reader: the bytes are decoded from code
// page 932 on the way in (a byte that does not map stops the read at its line), every line
// must end in CR LF, the structure is validated against the document's XML Schema while it
// streams, and the content arrives as the tree before the ledger plus the ledger rows.
// Either all at once (ReadDocument) or node by node (DocumentReader::Step), so that two
// documents can stream side by side.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/Report.h"
#include "tools/velmora-inspect/Source.h"

namespace inspect {

struct ReadResult {
  Element root;                   // REPORT with everything but the ledger's forms
  bool complete = false;          // read to the end: well-formed and every byte decoded
  std::vector<Finding> findings;  // byte, line-end, well-formedness and schema problems
};

struct ReadOptions {
  bool validate = true;  // against the embedded XML Schema
};

class DocumentReader {
 public:
  DocumentReader(const Source& source, const ReadOptions& options, LedgerSink* sink);
  ~DocumentReader();
  DocumentReader(const DocumentReader&) = delete;
  DocumentReader& operator=(const DocumentReader&) = delete;

  // Reads the next node, handing the sink what it completes; false once the document has
  // ended, read whole or not.
  bool Step();
  // After the last Step: the tree, whether it was read whole, and the problems.
  ReadResult Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

ReadResult ReadDocument(const Source& source, const ReadOptions& options, LedgerSink* sink);

// The XML Schema of the document (docs/rc25.xsd, compiled in).
extern const char kSchemaText[];

}  // namespace inspect

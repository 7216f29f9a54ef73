// A document read on demand, for comparing two side by side: first the statements (the
// layout of everything before the general ledger), then the ledger's forms and, within each,
// its rows, each read only when asked for. Nothing of the ledger is kept beyond the event
// being handed over, so two ledgers of any length stream in constant memory.
#pragma once

#include <deque>
#include <optional>

#include "tools/velmora-inspect/DocumentReader.h"
#include "tools/velmora-inspect/Layout.h"

namespace inspect {

class LedgerStream : private LedgerSink {
 public:
  explicit LedgerStream(const Source& source);

  // Reads up to the ledger (or to the end of a document without one); the layout, or none
  // when the document ended before its statements could be read.
  std::optional<Layout> Statements();
  // The next form with its four fields; false after the last one.
  bool NextForm(LedgerForm& form);
  // The next row of the current form; false at the form's end.
  bool NextRow(LedgerRow& row);
  // Reads what is left; the reader's problems and whether the document was read whole.
  ReadResult Finish();

 private:
  struct Event {
    enum class Kind { Ledger, Form, Row, FormEnd } kind;
    LedgerForm form;
    LedgerRow row;
  };

  void BeginLedger(const Element& report, const Element& data) override;
  void BeginForm(const LedgerForm& form) override;
  void Row(const LedgerForm& form, const LedgerRow& row) override;
  void EndForm(const LedgerForm& form) override;
  // Reads until an event waits; false when the document has ended without one.
  bool Pump();

  DocumentReader reader_;
  std::deque<Event> events_;
  std::optional<Layout> layout_;
  std::optional<ReadResult> finished_;
};

}  // namespace inspect

// The events of the reader queued until asked for; one reader step adds at most a few.
#include "tools/velmora-inspect/LedgerStream.h"

namespace inspect {

LedgerStream::LedgerStream(const Source& source) : reader_(source, ReadOptions{false}, this) {}

void LedgerStream::BeginLedger(const Element& report, const Element& data) {
  layout_ = MakeLayout(report, data);
  events_.push_back({Event::Kind::Ledger, {}, {}});
}
void LedgerStream::BeginForm(const LedgerForm& form) { events_.push_back({Event::Kind::Form, form, {}}); }
void LedgerStream::Row(const LedgerForm&, const LedgerRow& row) {
  events_.push_back({Event::Kind::Row, {}, row});
}
void LedgerStream::EndForm(const LedgerForm& form) { events_.push_back({Event::Kind::FormEnd, form, {}}); }

bool LedgerStream::Pump() {
  while (events_.empty()) {
    if (finished_ || !reader_.Step()) {
      if (!finished_) finished_ = reader_.Finish();
      return false;
    }
  }
  return true;
}

std::optional<Layout> LedgerStream::Statements() {
  while (!layout_ && Pump()) events_.pop_front();
  if (!layout_ && finished_ && finished_->complete) {
    if (const Element* data = finished_->root.Child("DATA")) layout_ = MakeLayout(finished_->root, *data);
  }
  if (!events_.empty() && events_.front().kind == Event::Kind::Ledger) events_.pop_front();
  return layout_;
}

bool LedgerStream::NextForm(LedgerForm& form) {
  while (Pump()) {
    Event e = std::move(events_.front());
    events_.pop_front();
    if (e.kind == Event::Kind::Form) {
      form = std::move(e.form);
      return true;
    }
  }
  return false;
}

bool LedgerStream::NextRow(LedgerRow& row) {
  if (!Pump()) return false;
  Event& e = events_.front();
  if (e.kind == Event::Kind::Row) {
    row = std::move(e.row);
    events_.pop_front();
    return true;
  }
  if (e.kind == Event::Kind::FormEnd) events_.pop_front();
  return false;
}

ReadResult LedgerStream::Finish() {
  while (Pump()) events_.clear();
  return std::move(*finished_);
}

}  // namespace inspect

// The quick reading of a journal accepts exactly what the full check accepts and builds the
// same record; whatever it does not recognise (a fault, or a form it does not expect) it
// hands back, so that every message still comes from the full check.
#include "orbeck/store/JournalEvents.h"

#include <limits>
#include <string_view>

#include "orbeck/store/Amount.h"
#include "orbeck/store/JsonReader.h"
#include "platform/Cp932.h"

namespace orbeck::store {
namespace {

using Kind = JsonEvent::Kind;
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr std::size_t kDescriptionBytes = 60;

// Reads forward over the events of one journal.
class Cursor {
 public:
  Cursor(const std::vector<JsonEvent>& events, std::size_t size) : events_(events), size_(size) {}

  bool Is(Kind kind) const { return at_ < size_ && events_[at_].kind == kind; }
  const JsonEvent* Take(Kind kind) { return Is(kind) ? &events_[at_++] : nullptr; }
  // Events of `kind` from here to the journal's end: room for the lines before they are read.
  std::size_t CountAhead(Kind kind) const {
    std::size_t count = 0;
    for (std::size_t i = at_; i < size_; ++i) count += events_[i].kind == kind ? 1 : 0;
    return count;
  }

  // An integer within [min, max], as the full check reads one (a float is none).
  bool Integer(int64_t min, int64_t max, int64_t& out) {
    if (Is(Kind::Unsigned)) {
      const uint64_t value = events_[at_++].unsignedValue;
      if (value > static_cast<uint64_t>(max)) return false;
      out = static_cast<int64_t>(value);
      return out >= min;
    }
    if (Is(Kind::Signed)) {
      out = events_[at_++].signedValue;
      return out >= min && out <= max;
    }
    return false;
  }
  bool Amount(int64_t& out) {
    const JsonEvent* text = Take(Kind::Text);
    if (text == nullptr) return false;
    std::string why;
    const std::optional<int64_t> parsed = ParseAmount(text->text, &why);
    if (!parsed) return false;
    out = *parsed;
    return true;
  }
  bool Description(std::string& out) {
    const JsonEvent* text = Take(Kind::Text);
    if (text == nullptr) return false;
    platform::cp932::Conversion converted = platform::cp932::FromUtf8(text->text);
    if (!converted.ok || converted.text.size() > kDescriptionBytes ||
        converted.text.find('\0') != std::string::npos)
      return false;
    out = std::move(converted.text);
    return true;
  }

 private:
  const std::vector<JsonEvent>& events_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// A side without an account carries neither amount nor tax.
bool SideHolds(int32_t code, int64_t amount, int64_t tax) { return code != 0 || (amount == 0 && tax == 0); }

bool TakeLine(Cursor& in, JournalLineRecord& line) {
  if (in.Take(Kind::ObjectStart) == nullptr) return false;
  unsigned seen = 0;
  while (const JsonEvent* key = in.Take(Kind::Key)) {
    const std::string_view name = key->text;
    int64_t value = 0;
    unsigned bit = 0;
    bool ok = false;
    if (name == "debit" || name == "credit") {
      bit = name == "debit" ? 1 : 2;
      ok = in.Integer(0, kInt32Max, value);
      (name == "debit" ? line.debitCode : line.creditCode) = static_cast<int32_t>(value);
    } else if (name == "debitAmount") {
      bit = 4, ok = in.Amount(line.debitAmount);
    } else if (name == "debitTax") {
      bit = 8, ok = in.Amount(line.debitTax);
    } else if (name == "creditAmount") {
      bit = 16, ok = in.Amount(line.creditAmount);
    } else if (name == "creditTax") {
      bit = 32, ok = in.Amount(line.creditTax);
    } else if (name == "description") {
      bit = 64, ok = in.Description(line.description);
    } else if (name == "counterKind") {
      bit = 128, ok = in.Integer(0, 255, value);
      line.counterKind = static_cast<int>(value);
    }
    if (!ok || (seen & bit) != 0) return false;
    seen |= bit;
  }
  return in.Take(Kind::ObjectEnd) != nullptr && (line.debitCode != 0 || line.creditCode != 0) &&
         SideHolds(line.debitCode, line.debitAmount, line.debitTax) &&
         SideHolds(line.creditCode, line.creditAmount, line.creditTax);
}

bool TakeLines(Cursor& in, std::vector<JournalLineRecord>& lines) {
  if (in.Take(Kind::ArrayStart) == nullptr) return false;
  lines.reserve(in.CountAhead(Kind::ObjectStart));
  while (in.Is(Kind::ObjectStart)) {
    if (!TakeLine(in, lines.emplace_back())) return false;
  }
  return in.Take(Kind::ArrayEnd) != nullptr && !lines.empty();
}

}  // namespace

JsonEvent& JournalEvents::Add(JsonEvent::Kind kind) {
  if (size_ == events_.size()) events_.emplace_back();
  JsonEvent& event = events_[size_++];
  event.kind = kind;
  return event;
}

bool JournalEvents::TakeValid(JournalRecord& out) const {
  Cursor in(events_, size_);
  if (in.Take(Kind::ObjectStart) == nullptr) return false;
  JournalRecord journal;
  unsigned seen = 0;
  while (const JsonEvent* key = in.Take(Kind::Key)) {
    const std::string_view name = key->text;
    int64_t value = 0;
    unsigned bit = 0;
    bool ok = false;
    if (name == "id") {
      bit = 1, ok = in.Integer(1, kInt32Max, value);
      journal.id = static_cast<int32_t>(value);
    } else if (name == "date") {
      bit = 2, ok = in.Integer(0, 99991231, value) && IsCalendarDate(value);
      journal.date = static_cast<int32_t>(value);
    } else if (name == "adjustment") {
      bit = 4, ok = in.Integer(0, 14, value) && (value == 0 || value == 13 || value == 14);
      journal.adjustment = static_cast<int>(value);
    } else if (name == "lines") {
      bit = 8, ok = TakeLines(in, journal.lines);
    }
    if (!ok || (seen & bit) != 0) return false;
    seen |= bit;
  }
  if (in.Take(Kind::ObjectEnd) == nullptr || (seen & 11) != 11) return false;
  out = std::move(journal);
  return true;
}

nlohmann::json JournalEvents::ToJson() const {
  using nlohmann::json;
  json root;
  std::vector<json*> open;
  json* member = nullptr;
  auto place = [&](json value) -> json* {
    if (open.empty()) {
      root = std::move(value);
      return &root;
    }
    if (open.back()->is_array()) {
      open.back()->push_back(std::move(value));
      return &open.back()->back();
    }
    *member = std::move(value);
    return member;
  };
  for (std::size_t i = 0; i < size_; ++i) {
    const JsonEvent& e = events_[i];
    switch (e.kind) {
      case Kind::ObjectStart:
        open.push_back(place(json::object()));
        break;
      case Kind::ArrayStart:
        open.push_back(place(json::array()));
        break;
      case Kind::ObjectEnd:
      case Kind::ArrayEnd:
        open.pop_back();
        break;
      case Kind::Key:
        member = &(*open.back())[e.text];
        break;
      case Kind::Null:
        place(nullptr);
        break;
      case Kind::Boolean:
        place(e.boolean);
        break;
      case Kind::Signed:
        place(e.signedValue);
        break;
      case Kind::Unsigned:
        place(e.unsignedValue);
        break;
      case Kind::Real:
        place(e.real);
        break;
      case Kind::Text:
        place(e.text);
        break;
    }
  }
  return root;
}

}  // namespace orbeck::store

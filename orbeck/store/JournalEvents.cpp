// The quick reading of a journal accepts exactly what the full check accepts and builds the
// same record, both by the members' tables; whatever it does not recognise (a fault, or a form it does not
// expect) it hands back, so that every message still comes from the full check.
#include "orbeck/store/JournalEvents.h"

#include <array>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "orbeck/store/Amount.h"
#include "orbeck/store/DocumentMembers.h"
#include "orbeck/store/JsonReader.h"
#include "platform/Cp932.h"

namespace orbeck::store {
namespace {

using Kind = JsonEvent::Kind;

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
  bool Text(int64_t maxBytes, std::string& out) {
    const JsonEvent* text = Take(Kind::Text);
    if (text == nullptr) return false;
    platform::cp932::Conversion converted = platform::cp932::FromUtf8(text->text);
    if (!converted.ok || converted.text.size() > static_cast<std::size_t>(maxBytes) ||
        converted.text.find('\0') != std::string::npos)
      return false;
    out = std::move(converted.text);
    return true;
  }
  bool Boolean(int64_t& out) {
    const JsonEvent* value = Take(Kind::Boolean);
    if (value == nullptr) return false;
    out = value->boolean ? 1 : 0;
    return true;
  }

 private:
  const std::vector<JsonEvent>& events_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The value of member I of the table into its field, as the careful reader takes it;
// false for anything it would refuse, and for a form the quick reading does not take (an
// account character). The member is known when compiled, so each is read by its own code.
template <const auto& Table, std::size_t I, typename Record>
bool TakeMember(Cursor& in, Record& out) {
  constexpr const auto& member = Table[I];
  constexpr std::size_t alternative = member.field.index();
  if constexpr (member.kind == members::Kind::Text) {
    std::string text;
    if (!in.Text(member.max, text)) return false;
    if constexpr (alternative != 0) out.*std::get<alternative>(member.field) = std::move(text);
    return true;
  } else {
    int64_t number = 0;
    bool ok = false;
    if constexpr (member.kind == members::Kind::Integer) {
      ok = in.Integer(member.min, member.max, number);
    } else if constexpr (member.kind == members::Kind::Date) {
      ok = in.Integer(0, 99991231, number) && IsCalendarDate(number);
    } else if constexpr (member.kind == members::Kind::Amount) {
      ok = in.Amount(number);
    } else if constexpr (member.kind == members::Kind::Boolean) {
      ok = in.Boolean(number);
    }
    if constexpr (alternative != 0) {
      constexpr auto field = std::get<alternative>(member.field);
      if (ok) out.*field = static_cast<std::remove_reference_t<decltype(out.*field)>>(number);
    }
    return ok;
  }
}

// Member I once: false when it came before, or its value is not taken.
template <const auto& Table, std::size_t I, typename Record, typename TakeNested>
bool TakeOnce(Cursor& in, Record& out, TakeNested& nested, uint32_t& seen) {
  if ((seen & (1u << I)) != 0) return false;
  seen |= 1u << I;
  if constexpr (Table[I].kind == members::Kind::Nested) {
    return nested(I);
  } else {
    return TakeMember<Table, I>(in, out);
  }
}

// The members of an object up to its end, by their table: each known one once, every
// required one there. `nested(index)` takes a Nested member's value.
template <const auto& Table, typename Record, typename TakeNested>
bool TakeMembers(Cursor& in, Record& out, TakeNested&& nested) {
  constexpr std::size_t kCount = Table.size();
  static_assert(kCount <= 32, "one bit per member");
  uint32_t seen = 0;
  while (const JsonEvent* key = in.Take(Kind::Key)) {
    const std::string_view name = key->text;
    bool ok = false;
    const bool known = [&]<std::size_t... I>(std::index_sequence<I...>) {
      return ((name == Table[I].name && (ok = TakeOnce<Table, I>(in, out, nested, seen), true)) || ...);
    }
    (std::make_index_sequence<kCount>{});
    if (!known || !ok) return false;
  }
  for (std::size_t index = 0; index < kCount; ++index) {
    if (Table[index].required && (seen & (1u << index)) == 0) return false;
  }
  return in.Take(Kind::ObjectEnd) != nullptr;
}

// A side without an account carries neither amount nor tax.
bool SideHolds(int32_t code, int64_t amount, int64_t tax) { return code != 0 || (amount == 0 && tax == 0); }

bool TakeLine(Cursor& in, JournalLineRecord& line) {
  if (in.Take(Kind::ObjectStart) == nullptr ||
      !TakeMembers<members::kLineMembers>(in, line, [](std::size_t) { return false; })) {
    return false;
  }
  return (line.debitCode != 0 || line.creditCode != 0) &&
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
  // "lines" is the journal's one Nested member.
  if (!TakeMembers<members::kJournalMembers>(in, journal,
                                             [&](std::size_t) { return TakeLines(in, journal.lines); }))
    return false;
  if (journal.adjustment != 0 && journal.adjustment != 13 && journal.adjustment != 14) return false;
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

// One journal of the host data document as the reader's events, recorded while it is read.
// A journal that is valid on its own becomes its record straight from the events, without
// a JSON tree; any other journal is rebuilt as JSON for the full check and its messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

struct JsonEvent {
  enum class Kind : uint8_t {
    ObjectStart,
    ObjectEnd,
    ArrayStart,
    ArrayEnd,
    Key,
    Null,
    Boolean,
    Signed,
    Unsigned,
    Real,
    Text
  };
  Kind kind = Kind::Null;
  bool boolean = false;
  int64_t signedValue = 0;
  uint64_t unsignedValue = 0;
  double real = 0;
  std::string text;  // keys and strings
};

class JournalEvents {
 public:
  void Clear() { size_ = 0; }
  // The next event; its slot (and its text's buffer) is reused from earlier journals.
  JsonEvent& Add(JsonEvent::Kind kind);

  // The events as one JSON value.
  nlohmann::json ToJson() const;
  // True with `out` filled when the journal holds only known members of the right types
  // and values, each once; false leaves it to the full check, which names the fault.
  bool TakeValid(JournalRecord& out) const;

 private:
  std::vector<JsonEvent> events_;
  std::size_t size_ = 0;
};

}  // namespace orbeck::store

// The SAX follower of the host data document, fed by either JSON reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "orbeck/store/DocumentChecker.h"
#include "orbeck/store/JournalEvents.h"
#include "orbeck/store/JsonReader.h"

namespace orbeck::store {

// Follows the reader through the document: where it is (for pointers), which members each
// open object has had (a member twice is an error, which a JSON tree cannot show), and
// every journal as soon as it is complete, handed to the parser and never part of the tree,
// so that a document of a million journal lines never sits in memory as JSON. The rest of
// the document becomes a JSON tree for the parser.
class DocumentReader {
 public:
  using json = nlohmann::json;

  explicit DocumentReader(DocumentChecker& parser) : parser_(parser) { parser_.StreamingStarted(); }

  // Thrown out of the reader at the first failure: nothing after it matters.
  struct Stop {};

  json& Document() { return root_; }

  bool null() {
    return Value(
        JsonEvent::Kind::Null, [](JsonEvent&) {}, nullptr);
  }
  bool boolean(bool value) {
    return Value(
        JsonEvent::Kind::Boolean, [value](JsonEvent& e) { e.boolean = value; }, value);
  }
  bool number_integer(json::number_integer_t value) {
    return Value(
        JsonEvent::Kind::Signed, [value](JsonEvent& e) { e.signedValue = value; }, value);
  }
  bool number_unsigned(json::number_unsigned_t value) {
    return Value(
        JsonEvent::Kind::Unsigned, [value](JsonEvent& e) { e.unsignedValue = value; }, value);
  }
  bool number_float(json::number_float_t value, const json::string_t&) {
    return Value(
        JsonEvent::Kind::Real, [value](JsonEvent& e) { e.real = value; }, value);
  }
  bool string(std::string_view value) {
    return Value(
        JsonEvent::Kind::Text, [value](JsonEvent& e) { e.text.assign(value); }, value);
  }
  bool binary(json::binary_t& value) {
    return Value(
        JsonEvent::Kind::Null, [](JsonEvent&) {}, json::binary(value));
  }
  bool start_object(std::size_t) { return Start(true); }
  bool start_array(std::size_t) { return Start(false); }
  bool key(std::string_view name) {
    Member(name);
    if (inJournal_) {
      journal_.Add(JsonEvent::Kind::Key).text.assign(name);
    } else {
      member_ = &(*open_.back())[std::string(name)];
    }
    return true;
  }
  bool end_object() { return End(true); }
  bool end_array() { return End(false); }
  std::size_t Depth() const { return depth_; }
  // Not JSON, at the byte the reader had read up to (a number too large for a double too).
  struct NotJson {
    std::size_t byte;
  };
  template <typename Exception>
  bool parse_error(std::size_t byte, const std::string&, const Exception&) {
    throw NotJson{byte};
  }

 private:
  struct Frame {
    bool object = false;
    std::size_t elements = 0;        // arrays: elements begun so far
    std::vector<std::string> names;  // objects: member names so far, the current one last
  };

  DocumentChecker& parser_;
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;  // frames_ beyond depth_ are kept for their buffers
  json root_;
  std::vector<json*> open_;  // the tree's open containers, outside journals
  json* member_ = nullptr;   // the member a key named, outside journals
  bool inJournal_ = false;
  JournalEvents journal_;

  // A value outside a journal goes into the tree; inside one, into its events.
  template <typename Record, typename Plain>
  bool Value(JsonEvent::Kind kind, Record record, Plain&& value) {
    CountElement();
    RefuseJournalThatIsNoObject();
    if (inJournal_) {
      record(journal_.Add(kind));
    } else {
      Place(json(std::forward<Plain>(value)));
    }
    return true;
  }

  json* Place(json value) {
    if (open_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    if (open_.back()->is_array()) {
      open_.back()->push_back(std::move(value));
      return &open_.back()->back();
    }
    *member_ = std::move(value);
    return member_;
  }

  bool Start(bool object) {
    CountElement();
    if (!object) RefuseJournalThatIsNoObject();
    Push(object);
    if (object && !inJournal_ && IsJournal()) {
      inJournal_ = true;
      journal_.Clear();
    }
    if (inJournal_) {
      journal_.Add(object ? JsonEvent::Kind::ObjectStart : JsonEvent::Kind::ArrayStart);
    } else {
      open_.push_back(Place(object ? json::object() : json::array()));
    }
    return true;
  }

  bool End(bool object) {
    if (inJournal_) {
      journal_.Add(object ? JsonEvent::Kind::ObjectEnd : JsonEvent::Kind::ArrayEnd);
      if (object && IsJournal()) {
        inJournal_ = false;
        TakeJournal();
      }
    } else {
      open_.pop_back();
    }
    Pop();
    return true;
  }

  void Push(bool object) {
    if (frames_.size() == depth_) frames_.emplace_back();
    Frame& frame = frames_[depth_++];
    frame.object = object;
    frame.elements = 0;
    frame.names.clear();
  }
  void Pop() { --depth_; }
  void CountElement() {
    if (depth_ > 0 && !frames_[depth_ - 1].object) ++frames_[depth_ - 1].elements;
  }

  // The pointer of the value being read, up to the frame `upTo` (exclusive).
  std::string Pointer(std::size_t upTo) const {
    std::string pointer;
    for (std::size_t i = 0; i < upTo; ++i) {
      const Frame& frame = frames_[i];
      pointer = frame.object ? JsonReader::Child(pointer, frame.names.empty() ? "" : frame.names.back())
                             : JsonReader::Child(pointer, frame.elements - 1);
    }
    return pointer;
  }

  void Member(std::string_view name) {
    std::vector<std::string>& names = frames_[depth_ - 1].names;
    for (const std::string& seen : names) {
      if (seen == name) {
        parser_.Fail(JsonReader::Child(Pointer(depth_ - 1), name), "duplicate member");
        throw Stop{};
      }
    }
    names.emplace_back(name);
  }

  // An object that is element j of the member "journals" of element i of the root's "data".
  bool IsJournal() const {
    return depth_ == 5 && frames_[0].object && frames_[0].names.back() == "data" && !frames_[1].object &&
           frames_[2].object && frames_[2].names.back() == "journals" && !frames_[3].object;
  }

  // Every journal is taken from the tree, so one that is not an object is refused here.
  void RefuseJournalThatIsNoObject() {
    if (depth_ == 4 && frames_[0].object && frames_[0].names.back() == "data" && !frames_[1].object &&
        frames_[2].object && frames_[2].names.back() == "journals" && !frames_[3].object) {
      parser_.Fail(Pointer(4), "must be an object");
      throw Stop{};
    }
  }

  // A journal valid on its own is taken from its events; any other one is checked in full
  // as JSON, which names its fault.
  void TakeJournal() {
    const std::size_t dataIndex = frames_[1].elements - 1;
    const std::size_t journalIndex = frames_[3].elements - 1;
    JournalRecord record;
    if (journal_.TakeValid(record)) {
      parser_.StreamJournalRecord(std::move(record), dataIndex, DataIdSoFar());
    } else if (!parser_.StreamJournal(journal_.ToJson(), dataIndex, journalIndex, DataIdSoFar())) {
      throw Stop{};
    }
  }

  // The id of the data record being read, when it came before its journals. The tree's open
  // containers are then the root, "data", the record and its "journals".
  const std::string* DataIdSoFar() const {
    if (open_.size() < 3 || !open_[2]->is_object()) return nullptr;
    const auto id = open_[2]->find("dataId");
    return id != open_[2]->end() && id->is_string() ? id->get_ptr<const json::string_t*>() : nullptr;
  }
};

}  // namespace orbeck::store

// The quick reading of the document: RapidJSON's SAX reader, validating UTF-8, feeding the
// document reader. Whatever it does not take as JSON goes to nlohmann's reader, whose verdict
// and message stand.
#pragma once

#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include <rapidjson/reader.h>

#include "orbeck/store/ByteChunks.h"
#include "orbeck/store/DocumentChecker.h"
#include "orbeck/store/DocumentReader.h"
#include "orbeck/store/JournalSink.h"

namespace orbeck::store {

// The quick reader's events for the document reader. What the quick reader would take
// but nlohmann's would not (a lone low surrogate written as an escape), and nesting deeper
// than any valid document, are left to nlohmann's reader.
class QuickEvents {
 public:
  struct NotMine {};

  explicit QuickEvents(DocumentReader& reader) : reader_(reader) {}

  bool Null() { return reader_.null(); }
  bool Bool(bool value) { return reader_.boolean(value); }
  bool Int(int value) { return reader_.number_integer(value); }
  bool Uint(unsigned value) { return reader_.number_unsigned(value); }
  bool Int64(int64_t value) { return reader_.number_integer(value); }
  bool Uint64(uint64_t value) { return reader_.number_unsigned(value); }
  // The quick reader's doubles may differ from nlohmann's in the last place; no member takes
  // one. One it rounds to infinity is nlohmann's to judge, which refuses it as not JSON.
  bool Double(double value) {
    if (!std::isfinite(value)) throw NotMine{};
    return reader_.number_float(value, kNoText);
  }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { throw NotMine{}; }
  bool String(const char* text, rapidjson::SizeType size, bool) {
    return reader_.string(Checked(text, size));
  }
  bool Key(const char* text, rapidjson::SizeType size, bool) { return reader_.key(Checked(text, size)); }
  bool StartObject() { return reader_.start_object(Deeper()); }
  bool EndObject(rapidjson::SizeType) { return reader_.end_object(); }
  bool StartArray() { return reader_.start_array(Deeper()); }
  bool EndArray(rapidjson::SizeType) { return reader_.end_array(); }

 private:
  // A valid document nests seven deep; the quick reader recurses once per level.
  static constexpr std::size_t kDepth = 64;
  inline static const nlohmann::json::string_t kNoText;

  std::size_t Deeper() const {
    if (reader_.Depth() >= kDepth) throw NotMine{};
    return 0;
  }
  // Surrogates in UTF-8 (0xED 0xA0-0xBF) can only come from an escape here, as the input
  // itself is validated.
  static std::string_view Checked(const char* text, rapidjson::SizeType size) {
    const std::string_view view(text, size);
    for (std::size_t at = view.find('\xed'); at != std::string_view::npos; at = view.find('\xed', at + 1)) {
      if (at + 1 < view.size() && (static_cast<unsigned char>(view[at + 1]) & 0xe0) == 0xa0) throw NotMine{};
    }
    return view;
  }

  DocumentReader& reader_;
};

// Bytes for the quick reader, which reads a NUL as the end: the caller tells the two apart.
class QuickText {
 public:
  using Ch = char;
  explicit QuickText(std::string_view text) : text_(text) {}
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  char Take() { return at_ < text_.size() ? text_[at_++] : '\0'; }
  std::size_t Tell() const { return at_; }
  bool AtEnd() const { return at_ == text_.size(); }
  char* PutBegin() { return nullptr; }
  void Put(char) {}
  void Flush() {}
  std::size_t PutEnd(char*) { return 0; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

class QuickStream {
 public:
  using Ch = char;
  explicit QuickStream(ChunkedBytes& bytes) : bytes_(bytes) {}
  char Peek() const { return bytes_.AtEnd() ? '\0' : bytes_.Byte(); }
  char Take() {
    if (bytes_.AtEnd()) return '\0';
    const char c = bytes_.Byte();
    bytes_.Next();
    ++taken_;
    return c;
  }
  std::size_t Tell() const { return taken_; }
  bool AtEnd() const { return bytes_.AtEnd(); }
  char* PutBegin() { return nullptr; }
  void Put(char) {}
  void Flush() {}
  std::size_t PutEnd(char*) { return 0; }

 private:
  ChunkedBytes& bytes_;
  std::size_t taken_ = 0;
};

// The quick reading: false when the document is for nlohmann's reader to judge (anything
// that is not JSON to the quick reader, so that its message and byte stay as they were).
template <typename Bytes>
bool ParseQuickly(Bytes& bytes, HostDocument& out, std::string& error, int& result,
                  JournalSink* sink = nullptr) {
  DocumentChecker parser;
  parser.SetSink(sink);
  DocumentReader reader(parser);
  QuickEvents events(reader);
  rapidjson::Reader quick;
  // Not the full-precision reading of doubles: it computes with an undefined count of leading
  // zero bits for a zero written with a large exponent ("0e66"), and no member takes a double.
  constexpr unsigned kFlags = rapidjson::kParseValidateEncodingFlag | rapidjson::kParseStopWhenDoneFlag;
  try {
    if (quick.Parse<kFlags>(bytes, events).IsError()) return false;
  } catch (const DocumentReader::Stop&) {
    error = parser.Error();
    result = 0;
    return true;
  } catch (const QuickEvents::NotMine&) {
    return false;
  }
  while (!bytes.AtEnd() &&
         (bytes.Peek() == ' ' || bytes.Peek() == '\t' || bytes.Peek() == '\n' || bytes.Peek() == '\r'))
    bytes.Take();
  if (!bytes.AtEnd()) return false;
  HostDocument parsed;
  result = parser.Run(reader.Document(), parsed, error);
  if (result == 1) out = std::move(parsed);
  return true;
}

}  // namespace orbeck::store

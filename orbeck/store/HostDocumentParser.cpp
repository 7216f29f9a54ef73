// The document's readings: the tree checked as it stands, and the text read as a stream,
// quickly where the quick reader takes it and carefully (by nlohmann's reader) otherwise.
#include "orbeck/store/HostDocumentParser.h"

#include <istream>

#include "orbeck/store/ByteChunks.h"
#include "orbeck/store/DocumentChecker.h"
#include "orbeck/store/DocumentReader.h"
#include "orbeck/store/QuickReading.h"

namespace orbeck::store {
namespace {

using nlohmann::json;

// `read(reader)` runs nlohmann's SAX parser over the whole document.
template <typename Read>
int ParseStreamed(Read read, HostDocument& out, std::string& error) {
  DocumentChecker parser;
  DocumentReader reader(parser);
  try {
    read(reader);
  } catch (const DocumentReader::Stop&) {
    error = parser.Error();
    return 0;
  } catch (const DocumentReader::NotJson& e) {
    error = "not JSON (byte " + std::to_string(e.byte) + ")";
    return 0;
  }
  HostDocument parsed;
  if (parser.Run(reader.Document(), parsed, error) == 0) return 0;
  out = std::move(parsed);
  return 1;
}

int ParseTextCarefully(std::string_view text, HostDocument& out, std::string& error) {
  return ParseStreamed([text](DocumentReader& reader) { json::sax_parse(text, &reader); }, out, error);
}

}  // namespace

int ParseHostDocument(const json& document, HostDocument& out, std::string& error) {
  HostDocument parsed;
  DocumentChecker parser;
  if (parser.Run(document, parsed, error) == 0) return 0;
  out = std::move(parsed);
  return 1;
}

int ParseHostDocumentText(std::string_view text, HostDocument& out, std::string& error) {
  QuickText bytes(text);
  int result = 0;
  if (ParseQuickly(bytes, out, error, result)) return result;
  return ParseTextCarefully(text, out, error);
}

int ParseHostDocumentTextCarefully(std::string_view text, HostDocument& out, std::string& error) {
  return ParseTextCarefully(text, out, error);
}

int ParseHostDocumentStream(std::istream& in, HostDocument& out, std::string& error, JournalSink* sink) {
  const std::istream::pos_type start = in.tellg();
  {
    ChunkedBytes chunks(in);
    QuickStream bytes(chunks);
    int result = 0;
    if (ParseQuickly(bytes, out, error, result, sink)) return result;
    // nlohmann's reader judges the text from its start, and keeps its journals to itself.
    if (sink != nullptr) sink->Forget();
    if (start == std::istream::pos_type(-1)) {
      error = "not JSON (byte " + std::to_string(bytes.Tell() + 1) + ")";
      return 0;
    }
  }
  in.clear();
  in.seekg(start);
  return ParseStreamed(
      [&in](DocumentReader& reader) {
        ChunkedBytes bytes(in);
        json::sax_parse(ChunkedBytes::Iterator(&bytes), ChunkedBytes::Iterator(), &reader);
      },
      out, error);
}

}  // namespace orbeck::store

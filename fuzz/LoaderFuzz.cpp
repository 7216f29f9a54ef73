// The store loader's parse entries and the sum derivation over any JSON text; the store
// itself is not written (its SQL writes are fixed statements over the parsed values). The
// streamed reading, which takes valid journals without a tree, must accept exactly what the
// tree accepts and read the same journals (a member given twice only it can see), and
// whichever of its two JSON readers reads the text, the outcome is the same. The journals
// the stream's reading hands over early (to the store's writer) must be, when the document is
// accepted, exactly its journals under its data ids.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "orbeck/store/HostDocumentParser.h"
#include "orbeck/store/JournalSink.h"
#include "orbeck/store/SumDerivation.h"

namespace {

// What the store's writer would be handed, as a document of its own.
class RecordingSink : public orbeck::store::JournalSink {
 public:
  void Take(std::size_t dataIndex, const std::string* dataId,
            const orbeck::store::JournalRecord& journal) override {
    if (taken.data.size() <= dataIndex) {
      taken.data.resize(dataIndex + 1);
      named.resize(dataIndex + 1, false);
    }
    orbeck::store::DataRecord& data = taken.data[dataIndex];
    if (data.journals.empty() && dataId != nullptr) {
      data.dataId = *dataId;
      named[dataIndex] = true;
    }
    data.journals.push_back(journal);
  }
  void Forget() override {
    taken = {};
    named.clear();
    forgotten = true;
  }
  bool forgotten = false;  // the careful reading took over: nothing was handed over early
  orbeck::store::HostDocument taken;
  std::vector<bool> named;
};

bool SameJournals(const orbeck::store::HostDocument& a, const orbeck::store::HostDocument& b) {
  if (a.data.size() != b.data.size()) return false;
  for (std::size_t i = 0; i < a.data.size(); ++i) {
    const auto& x = a.data[i].journals;
    const auto& y = b.data[i].journals;
    if (x.size() != y.size()) return false;
    for (std::size_t j = 0; j < x.size(); ++j) {
      if (x[j].id != y[j].id || x[j].date != y[j].date || x[j].adjustment != y[j].adjustment ||
          x[j].lines.size() != y[j].lines.size())
        return false;
      for (std::size_t k = 0; k < x[j].lines.size(); ++k) {
        const auto& l = x[j].lines[k];
        const auto& m = y[j].lines[k];
        if (l.debitCode != m.debitCode || l.debitAmount != m.debitAmount || l.debitTax != m.debitTax ||
            l.creditCode != m.creditCode || l.creditAmount != m.creditAmount || l.creditTax != m.creditTax ||
            l.description != m.description || l.counterKind != m.counterKind)
          return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // The quick reader hands nlohmann's reader whatever it does not take itself: for any text
  // the two readings agree on the verdict, the message and the journals.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  orbeck::store::HostDocument quick;
  orbeck::store::HostDocument careful;
  std::string quickError;
  std::string carefulError;
  const int quickly = orbeck::store::ParseHostDocumentText(text, quick, quickError);
  if (quickly != orbeck::store::ParseHostDocumentTextCarefully(text, careful, carefulError)) __builtin_trap();
  if (quickError != carefulError) __builtin_trap();
  if (quickly == 1 && !SameJournals(quick, careful)) __builtin_trap();

  // The stream's reading (a megabyte buffer per read) only for texts the quick reading took.
  if (quickly == 1) {
    std::istringstream stream{std::string(text)};
    RecordingSink sink;
    orbeck::store::HostDocument fromStream;
    std::string streamedError;
    if (orbeck::store::ParseHostDocumentStream(stream, fromStream, streamedError, &sink) == 1 &&
        !sink.forgotten) {
      if (sink.taken.data.size() > fromStream.data.size()) __builtin_trap();
      sink.taken.data.resize(fromStream.data.size());
      if (!SameJournals(sink.taken, fromStream)) __builtin_trap();
      for (std::size_t i = 0; i < sink.named.size(); ++i) {
        if (sink.named[i] && sink.taken.data[i].dataId != fromStream.data[i].dataId) __builtin_trap();
      }
    }
  }

  const nlohmann::json document = nlohmann::json::parse(data, data + size, nullptr, false);
  if (document.is_discarded()) return 0;
  orbeck::store::HostDocument parsed;
  std::string error;
  const int fromTree = orbeck::store::ParseHostDocument(document, parsed, error);
  if (fromTree == 0 && error.empty()) __builtin_trap();

  orbeck::store::HostDocument streamed;
  std::string streamError;
  const int fromText = orbeck::store::ParseHostDocumentText(
      std::string_view(reinterpret_cast<const char*>(data), size), streamed, streamError);
  if (streamError.find("duplicate member") == std::string::npos) {
    if (fromText != fromTree) __builtin_trap();
    if (fromText == 1 && !SameJournals(parsed, streamed)) __builtin_trap();
  }
  if (fromTree == 0) return 0;
  for (std::size_t i = 0; i < parsed.data.size(); ++i) {
    (void)orbeck::store::DeriveSums(parsed.data[i], "/data/" + std::to_string(i), error);
  }
  return 0;
}

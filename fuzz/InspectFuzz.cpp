// velmora-inspect on any document: check, show in the terminal and as an HTML page, and
// diff against itself (which must find no difference) and against the demo company's
// document, all of documents held in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

#include "tools/velmora-inspect/Checker.h"
#include "tools/velmora-inspect/Diff.h"
#include "tools/velmora-inspect/Show.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The demo company with the first account of its ledger (a seed of this harness), when the
// fuzzer is started with VELMORA_SOURCE_DIR: small, so that each input is compared row by
// row with a ledger without slowing the fuzzer down.
const std::string& Golden() {
  static const std::string bytes = [] {
    const char* source = std::getenv("VELMORA_SOURCE_DIR");
    if (source == nullptr) return std::string();
    std::ifstream in(std::filesystem::path(source) / "fuzz/corpus/InspectFuzz/demo-company-one-account.xml",
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const inspect::Source document = inspect::Source::InMemory("fuzz.xml", bytes);
  (void)inspect::CheckDocument(document);

  NullBuffer nothing;
  std::ostream out(&nothing);
  (void)inspect::ShowInTerminal(document, inspect::ShowOptions{true}, out);
  static const std::string page =
      (std::filesystem::temp_directory_path() /
       ("velmora-inspect-fuzz-" + std::to_string(std::random_device{}()) + ".html"))
          .string();
  (void)inspect::ShowAsHtml(document, page);
  std::error_code ignored;
  std::filesystem::remove(page, ignored);

  std::size_t found = 0;
  const auto outcome =
      inspect::DiffDocuments(document, document, [&](const inspect::Difference&) { ++found; });
  if (outcome.readable && found != 0) __builtin_trap();  // a document differs from itself
  if (!Golden().empty()) {
    const auto golden = inspect::Source::InMemory("golden.xml", Golden());
    (void)inspect::DiffDocuments(golden, document,
                                 [](const inspect::Difference& d) { (void)inspect::FormatDifference(d); });
  }
  return 0;
}

// Load = lock the home, parse, derive, write a new store; dump = read the store, write JSON. Exceptions of
// the libraries used (allocation, filesystem) end here and become results.
#include "orbeck/store/HostDataLoader.h"

#include <cstdlib>
#include <fstream>
#include <new>
#include <vector>

#include "orbeck/store/HomeLock.h"
#include "orbeck/store/HostDocumentParser.h"
#include "orbeck/store/HostDocumentWriter.h"
#include "orbeck/store/StoreFile.h"
#include "orbeck/store/StoreReplacement.h"
#include "orbeck/store/StoreWriter.h"
#include "orbeck/store/SumDerivation.h"

namespace orbeck::store {

std::filesystem::path DefaultHome() {
  const char* home = std::getenv("ORBECK_HOME");
  if (home != nullptr && *home != '\0') return home;
  const char* user = std::getenv("HOME");
  return std::filesystem::path(user != nullptr ? user : ".") / ".local" / "share" / "orbeck";
}

std::filesystem::path StorePath(const std::filesystem::path& home) { return home / "orbeck.db"; }

namespace {

// Derives the sums of a parsed document and writes its store through `writer`.
int Store(HostDocument& parsed, StoreWriter& writer, std::string& error, LoadSummary* summary) {
  for (std::size_t i = 0; i < parsed.data.size(); ++i) {
    if (DeriveSums(parsed.data[i], "/data/" + std::to_string(i), error) == 0) return 0;
  }
  if (writer.Finish(parsed, error) == 0) return 0;
  if (summary != nullptr) {
    *summary = LoadSummary{};
    summary->companies = parsed.data.size();
    for (const DataRecord& data : parsed.data) {
      summary->accounts += data.accounts.size();
      summary->journals += data.journals.size();
      for (const JournalRecord& journal : data.journals) summary->lines += journal.lines.size();
    }
  }
  return 1;
}

// The home folder, made before the document is read so that the store's writing can begin
// while it is; undone if the load ends without a store. Folders that existed stay.
class EarlyHome {
 public:
  explicit EarlyHome(const std::filesystem::path& home) {
    std::error_code ec;
    for (std::filesystem::path folder = home; !folder.empty() && !std::filesystem::exists(folder, ec) && !ec;
         folder = folder.parent_path()) {
      made_.push_back(folder);
      if (folder == folder.parent_path()) break;
    }
    std::filesystem::create_directories(home, ec);
  }
  ~EarlyHome() {
    if (kept_) return;
    std::error_code ec;
    for (const std::filesystem::path& folder : made_) std::filesystem::remove(folder, ec);
  }
  EarlyHome(const EarlyHome&) = delete;
  EarlyHome& operator=(const EarlyHome&) = delete;
  void Keep() { kept_ = true; }

 private:
  std::vector<std::filesystem::path> made_;  // deepest first
  bool kept_ = false;
};

// Runs a load step; the exceptions of the libraries used become results.
template <typename Step>
int Guarded(std::string& error, Step step) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  } catch (const std::exception& e) {
    error = e.what();
  }
  return 0;
}

// One load of `home`: its folder made, its lock held and what dead loads left removed
// before `read` parses the document (handing journals to the writer as it goes); then the
// sums are derived and the store replaced.
template <typename Read>
int Load(const std::filesystem::path& home, std::string& error, LoadSummary* summary, Read read) {
  return Guarded(error, [&] {
    EarlyHome made(home);
    HomeLock lock;
    if (!lock.Take(home, error)) return 0;
    TidyHome(StorePath(home));
    StoreWriter writer(StorePath(home));
    HostDocument parsed;
    if (read(parsed, writer) == 0) return 0;
    const int stored = Store(parsed, writer, error, summary);
    if (stored == 1) made.Keep();
    return stored;
  });
}

}  // namespace

int LoadHostData(const nlohmann::json& document, const std::filesystem::path& home, std::string& error,
                 LoadSummary* summary) {
  return Load(home, error, summary,
              [&](HostDocument& parsed, StoreWriter&) { return ParseHostDocument(document, parsed, error); });
}

int LoadHostDataText(std::string_view text, const std::filesystem::path& home, std::string& error,
                     LoadSummary* summary) {
  return Load(home, error, summary,
              [&](HostDocument& parsed, StoreWriter&) { return ParseHostDocumentText(text, parsed, error); });
}

int LoadHostDataFile(const std::filesystem::path& file, const std::filesystem::path& home, std::string& error,
                     LoadSummary* summary) {
  std::ifstream in;
  // Large reads: the document may run to hundreds of megabytes.
  std::vector<char> buffer(1 << 20);
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  in.open(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": cannot be read";
    return 0;
  }
  return Load(home, error, summary, [&](HostDocument& parsed, StoreWriter& writer) {
    const int valid = ParseHostDocumentStream(in, parsed, error, &writer);
    if (in.bad()) {
      error = file.string() + ": cannot be read";
      return 0;
    }
    // A syntax error is the file's; a validation error names its place by pointer.
    if (valid == 0 && error.starts_with("not JSON")) error = file.string() + ": " + error;
    return valid;
  });
}

int DumpHostData(const std::filesystem::path& home, nlohmann::json& out, std::string& error) {
  try {
    HostDocument document;
    if (ReadStore(StorePath(home), document, error) == 0) return 0;
    return WriteHostDocument(document, out, error);
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  } catch (const std::exception& e) {
    error = e.what();
  }
  return 0;
}

}  // namespace orbeck::store

// Load = parse, derive, write a new store; dump = read the store, write JSON. Exceptions of
// the libraries used (allocation, filesystem) end here and become results.
#include "orbeck/store/HostDataLoader.h"

#include <cstdlib>
#include <fstream>
#include <new>
#include <vector>

#include "orbeck/store/HostDocumentParser.h"
#include "orbeck/store/HostDocumentWriter.h"
#include "orbeck/store/StoreFile.h"
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

// Derives the sums of a parsed document and writes its store.
int Store(HostDocument& parsed, const std::filesystem::path& home, std::string& error) {
  for (std::size_t i = 0; i < parsed.data.size(); ++i) {
    if (DeriveSums(parsed.data[i], "/data/" + std::to_string(i), error) == 0) return 0;
  }
  std::error_code ec;
  std::filesystem::create_directories(home, ec);
  if (ec) {
    error = home.string() + ": " + ec.message();
    return 0;
  }
  return WriteStore(parsed, StorePath(home), error);
}

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

}  // namespace

int LoadHostData(const nlohmann::json& document, const std::filesystem::path& home, std::string& error) {
  return Guarded(error, [&] {
    HostDocument parsed;
    return ParseHostDocument(document, parsed, error) == 1 ? Store(parsed, home, error) : 0;
  });
}

int LoadHostDataText(std::string_view text, const std::filesystem::path& home, std::string& error) {
  return Guarded(error, [&] {
    HostDocument parsed;
    return ParseHostDocumentText(text, parsed, error) == 1 ? Store(parsed, home, error) : 0;
  });
}

int LoadHostDataFile(const std::filesystem::path& file, const std::filesystem::path& home,
                     std::string& error) {
  std::ifstream in;
  // Large reads: the document may run to hundreds of megabytes.
  std::vector<char> buffer(1 << 20);
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  in.open(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": cannot be read";
    return 0;
  }
  return Guarded(error, [&] {
    HostDocument parsed;
    const int valid = ParseHostDocumentStream(in, parsed, error);
    if (in.bad()) {
      error = file.string() + ": cannot be read";
      return 0;
    }
    if (valid == 0) {
      // A syntax error is the file's; a validation error names its place by pointer.
      if (error.starts_with("not JSON")) error = file.string() + ": " + error;
      return 0;
    }
    in.close();
    return Store(parsed, home, error);
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

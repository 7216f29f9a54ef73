// Load = parse, derive, write a new store; dump = read the store, write JSON. Exceptions of
// the libraries used (allocation, filesystem, JSON syntax) end here and become results.
#include "orbeck/store/HostDataLoader.h"

#include <cstdlib>
#include <fstream>
#include <new>

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

int LoadHostData(const nlohmann::json& document, const std::filesystem::path& home, std::string& error) {
  try {
    HostDocument parsed;
    if (ParseHostDocument(document, parsed, error) == 0) return 0;
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
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  } catch (const std::exception& e) {
    error = e.what();
  }
  return 0;
}

int LoadHostDataFile(const std::filesystem::path& file, const std::filesystem::path& home,
                     std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": cannot be read";
    return 0;
  }
  nlohmann::json document = nlohmann::json::parse(in, nullptr, false);
  if (document.is_discarded()) {
    // Parse again with exceptions only to learn where the syntax error is.
    try {
      in.clear();
      in.seekg(0);
      document = nlohmann::json::parse(in);
    } catch (const nlohmann::json::parse_error& e) {
      error = file.string() + ": not JSON (byte " + std::to_string(e.byte) + ")";
      return 0;
    } catch (const std::exception& e) {
      error = file.string() + ": " + e.what();
      return 0;
    }
  }
  return LoadHostData(document, home, error);
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

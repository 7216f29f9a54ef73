// The store loader's parse entry and the sum derivation over any JSON text; the store
// itself is not written (its SQL writes are fixed statements over the parsed values).
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "orbeck/store/HostDocumentParser.h"
#include "orbeck/store/SumDerivation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const nlohmann::json document = nlohmann::json::parse(data, data + size, nullptr, false);
  if (document.is_discarded()) return 0;
  orbeck::store::HostDocument parsed;
  std::string error;
  if (orbeck::store::ParseHostDocument(document, parsed, error) == 0) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  for (std::size_t i = 0; i < parsed.data.size(); ++i) {
    (void)orbeck::store::DeriveSums(parsed.data[i], "/data/" + std::to_string(i), error);
  }
  return 0;
}

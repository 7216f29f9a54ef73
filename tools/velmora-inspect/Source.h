// Where a document's bytes come from: a file named by its path, or bytes already in memory
// (the fuzz harness, the tests). The name is what messages call the document.
#pragma once

#include <string>
#include <string_view>

namespace inspect {

struct Source {
  Source(std::string filePath) : path(std::move(filePath)) {}  // NOLINT: a path is a source
  Source(const char* filePath) : path(filePath) {}             // NOLINT
  static Source InMemory(std::string name, std::string_view bytes) {
    Source s(std::move(name));
    s.memory = true;
    s.bytes = bytes;
    return s;
  }

  std::string path;
  bool memory = false;
  std::string_view bytes;  // when memory; owned by the caller
};

}  // namespace inspect

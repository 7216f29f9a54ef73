// The process's UI backend: a recording backend until one is set.
#include "platform/ui/UiBackend.h"

#include <cstdio>

#include "platform/ui/RecordingBackend.h"

namespace platform {
namespace {

std::unique_ptr<UiBackend>& Current() {
  static std::unique_ptr<UiBackend> backend;
  return backend;
}

}  // namespace

UiBackend& Ui() {
  auto& backend = Current();
  if (!backend) backend = std::make_unique<RecordingBackend>();
  return *backend;
}

void SetUi(std::unique_ptr<UiBackend> backend) { Current() = std::move(backend); }

void ReportError(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  Ui().ErrorReported(line);
}

}  // namespace platform

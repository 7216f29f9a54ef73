// The one-line form of a finding.
#include "tools/velmora-inspect/Finding.h"

namespace inspect {

std::string FormatFinding(const std::string& file, const Finding& finding) {
  std::string out = file + ":" + std::to_string(finding.line) + ": ";
  out += finding.severity == Severity::Error ? "error: " : "warning: ";
  if (!finding.path.empty()) out += finding.path + ": ";
  return out + finding.message;
}

bool HasErrors(const std::vector<Finding>& findings) {
  for (const Finding& f : findings) {
    if (f.severity == Severity::Error) return true;
  }
  return false;
}

}  // namespace inspect

// The one-line form of a finding.
#include "tools/velmora-inspect/Finding.h"

#include "tools/velmora-inspect/Report.h"

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

void AddMismatch(std::vector<Finding>& findings, long line, const std::string& path, const std::string& what,
                 std::int64_t stated, std::int64_t computed, std::int64_t allowance) {
  const std::int64_t difference = Minus(stated, computed);
  if (difference == 0) return;
  Finding f;
  f.line = line;
  f.path = path;
  f.message = what + ": " + WithSeparators(stated) + " written, " + WithSeparators(computed) +
              " computed (difference " + WithSeparators(difference) + ")";
  if (difference >= -allowance && difference <= allowance) {
    f.severity = Severity::Warning;
    f.message += ", within what cutting fractions of a yen can cause";
  }
  findings.push_back(std::move(f));
}

}  // namespace inspect

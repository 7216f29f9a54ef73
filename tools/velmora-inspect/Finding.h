// One problem found in a document: where (line, element path), how bad, and what; and the
// finding of a written figure that misses the one computed from its parts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace inspect {

enum class Severity { Error, Warning };

struct Finding {
  Severity severity = Severity::Error;
  long line = 0;
  std::string path;
  std::string message;
};

// "FILE:LINE: error: PATH: MESSAGE", the one line a failure is reported on.
std::string FormatFinding(const std::string& file, const Finding& finding);

bool HasErrors(const std::vector<Finding>& findings);

// A written figure against the one its parts give: nothing when they agree; a difference
// within the allowance (the yen that cutting the parts' fractions can lose) is a warning.
void AddMismatch(std::vector<Finding>& findings, long line, const std::string& path, const std::string& what,
                 std::int64_t stated, std::int64_t computed, std::int64_t allowance);

}  // namespace inspect

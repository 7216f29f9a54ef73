// One problem found in a document: where (line, element path), how bad, and what.
#pragma once

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

}  // namespace inspect

// For the tests that export documents: velmora-inspect's check finds no error in them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools/velmora-inspect/Checker.h"

namespace inspect::test {

inline void ExpectHoldsTogether(const std::filesystem::path& document) {
  const std::vector<Finding> findings = CheckDocument(document.string());
  std::string described;
  for (const Finding& f : findings) described += FormatFinding(document.string(), f) + "\n";
  EXPECT_FALSE(HasErrors(findings)) << described;
}

}  // namespace inspect::test

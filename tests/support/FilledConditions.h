// The conditions dialog filled as the run driver fills it before showing it (user "user1",
// company, fiscal period, eligible data), for the tests and tools that show the dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dialog/ConditionsDialog.h"
#include "runstate/EditionProfile.h"

namespace velmora::test {

struct ConditionsFill {
  std::string companyUtf8 = " 株式会社試験";
  std::string periodUtf8;  // the period line as shown; empty: none
  int32_t periodStart = 20240401;
  int32_t periodEnd = 20250331;
  int32_t dataNo = 1;          // the user's selected data
  std::string hostOutputPath;  // parent mode's output file (code page 932); empty: none
  const EditionProfile* edition = &kVelmora1;
};

std::unique_ptr<ConditionsDialog> FilledConditions(const ConditionsFill& fill = {});

}  // namespace velmora::test

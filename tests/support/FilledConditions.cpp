// The filled conditions dialog of the tests.
#include "tests/support/FilledConditions.h"

#include <cstdio>

#include "tests/support/Cp932Text.h"

namespace velmora::test {

std::unique_ptr<ConditionsDialog> FilledConditions(const ConditionsFill& fill) {
  auto dialog = std::make_unique<ConditionsDialog>(0, *fill.edition);
  dialog->companyText = Cp932(fill.companyUtf8);
  if (!fill.periodUtf8.empty()) dialog->periodText = Cp932(fill.periodUtf8);
  dialog->periodStart = fill.periodStart;
  dialog->periodEnd = fill.periodEnd;
  dialog->companiesActReady = 1;
  std::snprintf(dialog->userId, sizeof dialog->userId, "user1");
  dialog->selectedNo1 = 1;
  dialog->selectedNo2 = fill.dataNo;
  dialog->hostOutputPath = fill.hostOutputPath;
  return dialog;
}

}  // namespace velmora::test

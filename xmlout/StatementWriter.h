// Writes the whole XML document (Shift_JIS, root REPORT) from the engine's lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aggregate/StatementModel.h"
#include "app/OrbeckRuntime/Records.h"
#include "editions/EditionProfile.h"
#include "platform/WinTypes.h"

class ProgressWindow;

class StatementWriter {
public:
  explicit StatementWriter(const EditionProfile& edition);
  virtual ~StatementWriter();

  // Wiring set by the run driver; none of it is owned.
  ProgressWindow* progress = nullptr;
  const StatementLineList* statementLines = nullptr;
  const LedgerLineList* ledgerLines = nullptr;
  platform::HWND messageOwner = 0;
  int16_t changesKind = 1;
  int notesPresent = 0;
  const std::vector<std::string>* noteLines = nullptr;
  const uint8_t* noteDispFlags = nullptr;   // 50 entries
  uint16_t progressBase = 0;

  // 1 when the whole document was written to outputPath (Windows form), 0 otherwise;
  // on failure whatever stood at outputPath before is unchanged.
  int WriteDocument(const std::string& outputPath, int16_t functionId, const StDATAINFO& profile);

private:
  const EditionProfile& edition_;
};

// The application object: one process start gives at most one run, from attaching to the
// host to the completion notice posted to the host window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aggregate/StatementModel.h"
#include "editions/EditionProfile.h"
#include "platform/WinTypes.h"
#include "platform/ui/WinApp.h"

class ClSetData;

enum RunStatus : int32_t { Completed = 0, Cancelled = 1, Failed = 2 };

class LinkApp : public platform::CWinApp {
public:
  explicit LinkApp(const EditionProfile& edition);
  ~LinkApp() override;

  bool InitInstance() override;
  int ExitInstance() override;

  int32_t parentMode = 0;
  platform::HWND hostWindow = 0;
  uint32_t notifyMessage = 0;
  int16_t functionId = 3;
  std::string hostOutputPath;
  platform::HWND hostWnd = 0;           // the host window wrapper, set only in parent mode
  int32_t runStatus = Completed;
  StatementLineList statementLines;
  LedgerLineList ledgerLines;
  ClSetData* dataSet = nullptr;
  std::vector<std::string> noteLines;

  // Parses the host's command line; true when it names a host window (parent mode).
  bool ParseCommandLine(const std::string& commandLine);

private:
  const EditionProfile& edition_;
};

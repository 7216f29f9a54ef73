// The application object: one process start gives at most one run, from attaching to the
// host to the completion notice posted to the host window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/ui/WinApp.h"
#include "runstate/EditionProfile.h"
#include "runstate/FiscalMonths.h"
#include "runstate/ReadFailure.h"
#include "runstate/SavedNotesReader.h"
#include "runstate/StatementModel.h"

class ClSetData;
class ConditionsDialog;
class ProgressWindow;
class StatementAggregator;

enum RunStatus : int32_t { Completed = 0, Cancelled = 1, Failed = 2 };

// What the conditions dialog hands to the run.
struct RunConditions {
  int16_t firstMonth = 0;  // calendar months as entered
  int16_t lastMonth = 0;
  int16_t changesKind = 1;  // 1 株主資本等変動計算書, 2 社員資本等変動計算書
  int32_t withGeneralLedger = 0;
  std::string outputPath;  // Windows form; one over 260 bytes fails the run
};

class LinkApp : public platform::CWinApp {
 public:
  explicit LinkApp(const EditionProfile& edition);
  ~LinkApp() override;

  bool InitInstance() override;
  int ExitInstance() override;

  int32_t parentMode = 0;
  platform::HWND hostWindow = 0;  // from the command line; the program's owner only in parent mode
  uint32_t notifyMessage = 0;
  int16_t functionId = 3;
  std::string hostOutputPath;
  int32_t runStatus = Completed;
  StatementLineList statementLines;
  LedgerLineList ledgerLines;
  ClSetData* dataSet = nullptr;
  std::vector<std::string> noteLines;
  // One byte per note section of the saved notes; the writer reads them until the run ends.
  uint8_t noteDispFlags[kNoteDispFlagCount] = {};

  // Parses the host's command line; true when it names a host window (parent mode).
  bool ParseCommandLine(const std::string& commandLine);

 private:
  void EnterParentMode();
  void EnterProgramFolder();
  // The host window in parent mode, else none: the owner of the run's first windows.
  platform::HWND Owner() const { return parentMode ? hostWindow : 0; }
  void FillDialogInputs(ConditionsDialog& dialog, const DataProfile& profile);
  // Ends the run with status 2 and the failure message, owned by owner, naming the first
  // read that failed.
  bool Fail(platform::HWND owner);
  // The work behind the progress window, once the dialog returned its conditions.
  bool RunWork(ConditionsDialog& dialog, const DataProfile& profile, int amountBasis,
               const RunConditions& conditions);
  // The steps of the work; each is true when the run may go on.
  bool ReadSavedNotes(bool& notesPresent);
  void WarnOfUnsupportedNotes(platform::HWND owner) const;
  bool WriteDocument(ProgressWindow& progress, const StatementAggregator& aggregator, bool notesPresent,
                     const RunConditions& conditions, const DataProfile& profile);

  const EditionProfile& edition_;
  ReadFailure failure_;        // the run's one failure record, handed to every layer
  bool attachFailed_ = false;  // the run never started: no notice, but a failing exit code
};

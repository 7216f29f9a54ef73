// The run itself: attach to the host, check the installation, read the selected data, ask
// for the conditions, then aggregate and write behind the progress window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "aggregate/StatementAggregator.h"
#include "app/AttachFailure.h"
#include "app/CompatibilityCheck.h"
#include "app/FailureLines.h"
#include "app/LinkApp.h"
#include "app/UnsupportedNotesWarning.h"
#include "dialog/ConditionsDialog.h"
#include "platform/Cp932.h"
#include "platform/DriveMap.h"
#include "platform/WinFs.h"
#include "platform/ui/UiBackend.h"
#include "platform/ui/Window.h"
#include "runstate/ProgressWindow.h"
#include "runstate/ReadFailure.h"
#include "runtime/Connect.h"
#include "runtime/HostCodes.h"
#include "runtime/Managers.h"
#include "xmlout/StatementWriter.h"

namespace {

constexpr int16_t kPastResultsIndex = 99;
constexpr std::size_t kCompanyTextCapacity = 51;

const std::string& Caption() { return SJ("決算書"); }

// The run's failure message; with a read failure it names what could not be read.
std::string FailureText(const std::string& unread) {
  std::string text = SJ("XMLファイルの出力に失敗しました。\n");
  if (!unread.empty()) text += unread + SJ("を読み込めませんでした。\n");
  return text + SJ("\nアプリケーションを終了します。");
}

std::string PeriodText(int32_t start, int32_t end) {
  char text[64] = {};
  std::snprintf(text, sizeof text, SJ(" %04d/%02d/%02d～%04d/%02d/%02d").c_str(), start / 10000,
                start % 10000 / 100, start % 100, end / 10000, end % 10000 / 100, end % 100);
  return text;
}

// Ends the wait cursor when the run's objects are released, between the aggregator and
// the progress window.
struct WaitCursorRelease {
  platform::CWinApp& app;
  ~WaitCursorRelease() { app.EndWaitCursor(); }
};

}  // namespace

bool LinkApp::InitInstance() {
  EnableControlContainer();
  ClAccConnect& connect = ClAccConnect::Inst();
  connect.caption = Caption();
  connect.SetAppType(edition_.appType);
  connect.SetUseDataType(hostcode::kUseAccountingData);
  if (const long attach = connect.Initiate(); attach != 0) {
    // The run ends silently towards the host and posts no notice; the console line is the
    // only sign a batch user gets of why nothing ran.
    platform::ReportError(AttachFailureLine(edition_.executableName, attach, connect.HomeFolder()));
    attachFailed_ = true;
    // Started from the desktop, nobody reads standard error: a user who sees windows is told
    // what is missing. Still no notice goes to the host, which is not there.
    if (platform::Ui().ShowsWindows()) {
      platform::MessageBoxA(0, AttachFailureNotice(attach, connect.HomeFolder()), Caption(),
                            platform::MB_ICONEXCLAMATION | platform::MB_OK);
    }
    return false;
  }

  if (ParseCommandLine(m_lpCmdLine)) EnterParentMode();
  EnterProgramFolder();

  if (!CheckProgramLevel(true, Owner())) {
    const std::string folderProblem =
        m_programPath.empty() ? platform::win::DriveMap::ProgramFolderProblem() : std::string();
    platform::ReportError(folderProblem.empty() ? ProgramLevelReport(edition_.executableName)
                                                : ProgramFolderLine(edition_.executableName, folderProblem));
    runStatus = Failed;
    return false;
  }
  const long link = connect.ExpSysLink();
  if (link != 0) {
    runStatus = link == 1 ? Cancelled : Failed;
    return false;
  }

  // A selection that does not exist leaves the profile zero and the dialog refuses it; a
  // profile that could not be read must not pass for one that does not exist.
  DataProfile profile{};
  const int profileRead = ReadDataProfile(profile, dataSet);
  uint8_t taxSettings[12] = {};
  const int taxRead = ReadTaxSettings(taxSettings, profile.dataId);
  const int amountBasis = taxSettings[5] != 0 ? 1 : 0;
  if (profileRead == kProfileReadFailed || taxRead == kProfileReadFailed) {
    failure_.NoteHost(SJ("会計データの情報"));
  }
  if (failure_.CheckRuntime()) return Fail(Owner());

  ConditionsDialog dialog(Owner(), edition_);
  FillDialogInputs(dialog, profile);
  if (dialog.DoModal() == kConditionsCancel) {
    runStatus = Cancelled;
    return false;
  }
  if (failure_.CheckRuntime()) return Fail(Owner());

  RunConditions conditions;
  conditions.firstMonth = static_cast<int16_t>(std::strtol(dialog.firstMonthText.c_str(), nullptr, 10));
  conditions.lastMonth = static_cast<int16_t>(std::strtol(dialog.lastMonthText.c_str(), nullptr, 10));
  conditions.outputPath = dialog.outputPathText;
  conditions.changesKind = dialog.changesKind;
  conditions.withGeneralLedger = dialog.withGeneralLedger;
  return RunWork(dialog, profile, amountBasis, conditions);
}

bool LinkApp::Fail(platform::HWND owner) {
  // A host read that failed unnoticed while the failing step ran is still named.
  failure_.CheckRuntime();
  platform::MessageBoxA(owner, FailureText(failure_.What()), Caption(),
                        platform::MB_ICONEXCLAMATION | platform::MB_OK);
  runStatus = Failed;
  return false;
}

void LinkApp::FillDialogInputs(ConditionsDialog& dialog, const DataProfile& profile) {
  if (ClSysUser* user = ClDataMgr::Inst().GetSysUserObject()) {
    user->GetCurUserID(dialog.userId);
    long first = 0;
    long second = 0;
    user->GetSelectedNo(dialog.userId, &first, &second);
    dialog.selectedNo1 = static_cast<int32_t>(first);
    dialog.selectedNo2 = static_cast<int32_t>(second);
  }
  dialog.isPastData = profile.introMonthIndex == kPastResultsIndex ? 1 : 0;
  dialog.hostOutputPath = parentMode ? hostOutputPath : std::string();
  dialog.periodEnd = profile.periodEnd;
  dialog.periodStart = profile.periodStart;
  dialog.introMonthIndex = profile.introMonthIndex;
  // A company name too long for the 51-byte text is cut at a character boundary.
  const std::string name(profile.companyName, strnlen(profile.companyName, sizeof profile.companyName));
  dialog.companyText = platform::cp932::BoundedString(" " + name, kCompanyTextCapacity - 1);
  dialog.periodText = PeriodText(profile.periodStart, profile.periodEnd);
  dialog.companiesActReady = profile.companiesActReady;
}

bool LinkApp::ReadSavedNotes(bool& notesPresent) {
  SavedNotesReader notes(failure_);
  notesPresent = false;
  if (!notes.IsInputModeOn() || !notes.IsNoteOn()) return !failure_.Failed();
  try {
    std::memset(noteDispFlags, 0, sizeof noteDispFlags);
    notes.ReadNoteDispFlags(noteDispFlags);
    std::string text;
    notes.ReadNotesText(text);
    LoadNoteLines(text, noteLines);
    notesPresent = true;
  } catch (const std::bad_alloc&) {
    // Notes that do not fit in memory are left out; the statements still go out.
    noteLines.clear();
  }
  return !failure_.Failed();
}

void LinkApp::WarnOfUnsupportedNotes(platform::HWND owner) const {
  const std::string warning = UnsupportedNotesWarning(noteDispFlags);
  if (warning.empty()) return;
  platform::MessageBoxA(owner, warning, Caption(), platform::MB_ICONEXCLAMATION | platform::MB_OK);
}

bool LinkApp::WriteDocument(ProgressWindow& progress, const StatementAggregator& aggregator,
                            bool notesPresent, const RunConditions& conditions, const DataProfile& profile) {
  WriterInputs inputs;
  inputs.progress = &progress;
  inputs.statementLines = &statementLines;
  inputs.ledgerLines = &ledgerLines;
  inputs.messageOwner = progress.GetSafeHwnd();
  inputs.changesKind = conditions.changesKind;
  inputs.notesPresent = notesPresent ? 1 : 0;
  inputs.noteLines = notesPresent ? &noteLines : nullptr;
  inputs.noteDispFlags = notesPresent ? noteDispFlags : nullptr;
  inputs.progressBase = static_cast<uint16_t>(aggregator.ProgressPos());
  StatementWriter writer(edition_, inputs, failure_);
  platform::win::ClearFileFailure();
  return writer.WriteDocument(conditions.outputPath, functionId, profile) == 1;
}

bool LinkApp::RunWork(ConditionsDialog& dialog, const DataProfile& profile, int amountBasis,
                      const RunConditions& conditions) {
  ProgressWindow progress;
  progress.Create();
  const platform::HWND progressWindow = progress.GetSafeHwnd();
  if (parentMode) platform::SetParent(progressWindow, hostWindow);
  progress.ShowWindow(platform::SW_SHOW);
  BeginWaitCursor();
  WaitCursorRelease waitCursor{*this};
  progress.InitMainBar();

  StFINDINFO periodFind{};
  BuildMonthFilter(&periodFind, &profile, conditions.firstMonth, conditions.lastMonth);
  StatementAggregator aggregator(statementLines, ledgerLines, conditions.withGeneralLedger != 0, &progress,
                                 failure_);

  // A host path beyond the 260 bytes of a Windows path is not cut to the name of another
  // file, and an incomplete aggregation would export wrong statements; nothing is handed on
  // after a read that failed, whether or not its caller noticed.
  bool notesPresent = false;
  bool exported = conditions.outputPath.size() < platform::kPathCapacity &&
                  aggregator.Aggregate(amountBasis, periodFind, profile) == 1 && ReadSavedNotes(notesPresent);
  if (exported && notesPresent) WarnOfUnsupportedNotes(progressWindow);
  exported = exported && !failure_.CheckRuntime() &&
             WriteDocument(progress, aggregator, notesPresent, conditions, profile);
  if (!exported) {
    // Without a read that failed, the console says why the document could not be written.
    if (!failure_.CheckRuntime()) {
      platform::ReportError(
          WriteFailureLine(edition_.executableName, conditions.outputPath, platform::win::LastFileFailure()));
    }
    Fail(progressWindow);
    progress.EndDialog(1);
    RestoreWaitCursor();
    return false;
  }

  dialog.SaveSettings(conditions.firstMonth, conditions.lastMonth, conditions.changesKind,
                      conditions.withGeneralLedger, parentMode ? nullptr : &conditions.outputPath);
  progress.EndDialog(1);
  RestoreWaitCursor();
  platform::MessageBoxA(progressWindow,
                        SJ("決算書情報の出力が終了しました。\n\nアプリケーションを終了します。"), Caption(),
                        platform::MB_ICONINFORMATION | platform::MB_OK);
  return platform::CWinApp::InitInstance();
}

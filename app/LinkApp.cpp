// The application object's life outside the run itself: construction, the command line,
// parent mode, the program folder and the clean-up that ends every process.
#include "app/LinkApp.h"

#include "app/HostCommandLine.h"
#include "platform/Cp932.h"
#include "platform/WinFs.h"
#include "platform/ui/Window.h"
#include "runtime/Connect.h"

LinkApp::LinkApp(const EditionProfile& edition) : edition_(edition) {}

LinkApp::~LinkApp() = default;

bool LinkApp::ParseCommandLine(const std::string& commandLine) {
  HostCommandLine parsed;
  parsed.hostWindow = hostWindow;
  parsed.notifyMessage = notifyMessage;
  parsed.functionId = functionId;
  parsed.hostOutputPath = hostOutputPath;
  const bool complete = ParseHostCommandLine(commandLine, parsed);
  hostWindow = parsed.hostWindow;
  notifyMessage = parsed.notifyMessage;
  functionId = parsed.functionId;
  hostOutputPath = parsed.hostOutputPath;
  return complete;
}

void LinkApp::EnterParentMode() {
  parentMode = 1;
  platform::EnableWindow(hostWindow, false);
  ClAccConnect::Inst().ownerWindow = hostWindow;
}

void LinkApp::EnterProgramFolder() {
  const std::string& path = m_programPath;
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' && !platform::cp932::IsMbsTrail(path, i)) cut = i;
  }
  if (cut == std::string::npos) return;
  platform::win::_chdir(path.substr(0, cut + 1));
}

int LinkApp::ExitInstance() {
  statementLines.clear();
  statementLines.shrink_to_fit();
  ledgerLines.clear();
  ledgerLines.shrink_to_fit();
  noteLines.clear();
  noteLines.shrink_to_fit();

  ClAccConnect& connect = ClAccConnect::Inst();
  connect.LogOut();
  connect.Terminate();
  connect.Release();

  if (parentMode) {
    platform::SetForegroundWindow(hostWindow);
    platform::EnableWindow(hostWindow, true);
    platform::PostMessageA(hostWindow, notifyMessage, static_cast<std::intptr_t>(functionId), runStatus);
    platform::EnableWindow(hostWindow, true);
  }
  // The host is told nothing of a run that never attached (its status stays 0), but a batch
  // caller must not read "nothing ran" as a completed export.
  exitCode_ = attachFailed_ ? Failed : runStatus;
  return platform::CWinApp::ExitInstance();
}

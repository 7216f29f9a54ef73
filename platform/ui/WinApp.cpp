// CWinApp: InitInstance, then ExitInstance, whose result is the exit code.
#include "platform/ui/WinApp.h"

#include "platform/ui/Window.h"

namespace platform {

CWinApp::CWinApp() = default;
CWinApp::~CWinApp() = default;

bool CWinApp::InitInstance() { return true; }
int CWinApp::ExitInstance() { return exitCode_; }

void CWinApp::BeginWaitCursor() { platform::BeginWaitCursor(); }
void CWinApp::EndWaitCursor() { platform::EndWaitCursor(); }
void CWinApp::RestoreWaitCursor() { platform::RestoreWaitCursor(); }

int CWinApp::Run() {
  // InitInstance's result decides nothing here: there is no message loop to enter.
  InitInstance();
  return ExitInstance();
}

}  // namespace platform

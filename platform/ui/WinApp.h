// CWinApp: the application object. The framework runs InitInstance, then ExitInstance,
// whose result is the process exit code.
#pragma once

#include <string>

namespace platform {

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual bool InitInstance();
  virtual int ExitInstance();

  void EnableControlContainer() {}
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  std::string m_lpCmdLine;    // the command line after the program name, code page 932
  std::string m_programPath;  // the program file's path in Windows form

  // Runs the application: InitInstance, ExitInstance; returns ExitInstance's result.
  int Run();

 protected:
  int exitCode_ = 0;  // what the framework's ExitInstance returns
};

}  // namespace platform

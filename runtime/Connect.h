// The host connection and its message services: attaching to the running host,
// the host's message display and its fatal-error checks.
#pragma once

#include <string>

#include "platform/WinTypes.h"

class ClSysEnvMgr {
 public:
  // The host edition a link component runs beside.
  enum _AppType : long { AppStandard = 0, AppNetwork = 3, AppCare = 4 };
};

class ClAccConnect {
 public:
  static ClAccConnect& Inst();

  std::string caption;             // caption of the runtime's own messages
  platform::HWND ownerWindow = 0;  // owner of the runtime's own messages

  long SetAppType(long appType);
  long SetUseDataType(long useDataType);
  // 0 = attached to the host installation; nonzero when there is none or its store cannot be opened.
  long Initiate();
  // The host folder Initiate attaches to (a Linux path, UTF-8); empty when none can be named.
  std::string HomeFolder() const;
  // 0 = go, 1 = declined, other = error.
  long ExpSysLink();
  // Shows text through the platform's message box after replacing "ES_APRPACKAGENAME"
  // by the host's package name; returns the box's answer (IDOK, IDYES, IDNO).
  int DispMsg(platform::HWND owner, const std::string& text, const std::string& caption, unsigned flags);
  long LogOut();
  long Terminate();
  long Release();

  long AppType() const { return appType_; }
  long UseDataType() const { return useDataType_; }
  bool IsAttached() const { return attached_; }

 private:
  long appType_ = 0;
  long useDataType_ = 0;
  bool attached_ = false;
};

class ClMsgMgr {
 public:
  static ClMsgMgr& Inst();
  // True when result is a fatal runtime error; shows the runtime's message when show is nonzero.
  bool CheckFatalErrorWithMsg(long result, long flags, long show, platform::HWND owner);
  // Records the last error with the place it happened.
  void SetLastError(long result, const std::string& where);
  long LastError() const { return lastError_; }
  const std::string& LastErrorPlace() const { return lastErrorPlace_; }

  // The first read of the host's data that failed since the connection was last released,
  // whether or not its caller looked at the status: 0 when none failed. A run asks before it
  // hands anything on, so that a read nobody checked cannot pass for an empty result.
  long ReadFailure() const { return readFailure_; }
  const std::string& ReadFailurePlace() const { return readFailurePlace_; }
  // How many reads failed since the connection was last released, so that a caller can tell
  // a failure it saw from one before it that nobody noted.
  long ReadFailureCount() const { return readFailureCount_; }
  // Recorded by the runtime itself; the first failure is kept.
  void NoteReadFailure(long result, const std::string& where);
  void ClearReadFailure();

 private:
  long lastError_ = 0;
  std::string lastErrorPlace_;
  long readFailure_ = 0;
  std::string readFailurePlace_;
  long readFailureCount_ = 0;
};

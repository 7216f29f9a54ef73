// The failure record over the runtime's own count of failed reads; read failures are the
// runtime's fatal statuses, and the check shows nothing itself.
#include "runstate/ReadFailure.h"

#include "platform/Cp932.h"
#include "runtime/Connect.h"

bool IsReadFailure(long status) { return ClMsgMgr::Inst().CheckFatalErrorWithMsg(status, 0, 0, 0); }

void ReadFailure::TakeRuntimeFailures(long failures) {
  if (failures > runtimeFailuresSeen_ && what_.empty()) what_ = SJ("会計データ");
  if (failures > runtimeFailuresSeen_) runtimeFailuresSeen_ = failures;
}

void ReadFailure::Keep(const std::string& what, long runtimeFailures) {
  TakeRuntimeFailures(runtimeFailures);
  if (what_.empty()) what_ = what;
}

void ReadFailure::NoteHost(const std::string& what) {
  // The failure noted is the runtime's latest recorded one; any before it went unnoticed.
  const long recorded = ClMsgMgr::Inst().ReadFailureCount();
  Keep(what, recorded - 1);
  if (recorded > runtimeFailuresSeen_) runtimeFailuresSeen_ = recorded;
}

void ReadFailure::Note(const std::string& what) { Keep(what, ClMsgMgr::Inst().ReadFailureCount()); }

bool ReadFailure::CheckRuntime() {
  TakeRuntimeFailures(ClMsgMgr::Inst().ReadFailureCount());
  return Failed();
}

// Read failures are the runtime's fatal statuses; the check shows nothing itself.
#include "runstate/ReadFailure.h"

#include "runtime/Connect.h"

bool IsReadFailure(long status) { return ClMsgMgr::Inst().CheckFatalErrorWithMsg(status, 0, 0, 0); }

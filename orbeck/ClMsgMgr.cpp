// The runtime's fatal-error check and its record of the last error.
#include <cstdio>

#include "orbeck/RuntimeStatus.h"
#include "platform/Cp932.h"
#include "platform/ui/Window.h"
#include "runtime/Connect.h"

ClMsgMgr& ClMsgMgr::Inst() {
  static ClMsgMgr manager;
  return manager;
}

bool ClMsgMgr::CheckFatalErrorWithMsg(long result, long /*flags*/, long show, platform::HWND owner) {
  if (!orbeck::IsFatal(result)) return false;
  if (show != 0) {
    char number[32];
    std::snprintf(number, sizeof number, "%ld", result);
    std::string text = SJ("会計データの読み込み中にエラーが発生しました。\nエラー番号: ") + number;
    // Without an owner of its own the message belongs to the connection's owner window.
    const ClAccConnect& connect = ClAccConnect::Inst();
    const std::string& caption = connect.caption;
    platform::MessageBoxA(owner != 0 ? owner : connect.ownerWindow, text,
                          caption.empty() ? SJ("Orbeck２１") : caption,
                          platform::MB_OK | platform::MB_ICONEXCLAMATION);
  }
  return true;
}

void ClMsgMgr::SetLastError(long result, const std::string& where) {
  lastError_ = result;
  lastErrorPlace_ = where;
}

void ClMsgMgr::NoteReadFailure(long result, const std::string& where) {
  ++readFailureCount_;
  if (readFailure_ != 0) return;
  readFailure_ = result;
  readFailurePlace_ = where;
}

void ClMsgMgr::ClearReadFailure() {
  readFailure_ = 0;
  readFailurePlace_.clear();
  readFailureCount_ = 0;
}

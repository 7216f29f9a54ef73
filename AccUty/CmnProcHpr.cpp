// The era walk over the host's era master and the style-0 date text.
#include "AccUty/CmnProcHpr.h"

#include <cstring>

#include "platform/Cp932.h"
#include "runtime/OrbeckRuntime.h"

namespace {

constexpr int32_t kLastFormattableDate = 99991231;

// Where an error is recorded: this source and the failing step.
std::string ErrorPlace(const char* step) {
  return std::string("CmnProcHpr.cpp DateFormatter::FindEra ") + step;
}

}  // namespace

DateFormatter::DateFormatter(int32_t ownSetMgrFlag, ClSetMgr* ownSetMgr, platform::HWND owner)
    : ownSetMgrFlag_(ownSetMgrFlag), ownSetMgr_(ownSetMgr), owner_(owner) {}

bool DateFormatter::Fail(long result, const char* step) const {
  ClMsgMgr::Inst().SetLastError(result, ErrorPlace(step));
  readFailed_ = true;
  return false;
}

bool DateFormatter::FindEra(int32_t date, StGENGOINFO& era, int32_t& yearInEra) const {
  era = StGENGOINFO{};
  readFailed_ = false;
  ClSetMgr* setMgr = ownSetMgrFlag_ != 0 ? ownSetMgr_ : ClDataMgr::Inst().GetSetMgr();
  auto* gengo =
      setMgr ? dynamic_cast<ClSetGengo*>(setMgr->GetSetObject(hostcode::kSetEras, hostcode::kEraSetArgument))
             : nullptr;
  ClMsgMgr& messages = ClMsgMgr::Inst();
  if (gengo == nullptr) return Fail(-1, "ClSetMgr::GetSetObject");

  long cursor = 0;
  long result = gengo->GetCursor(&cursor);
  if (messages.CheckFatalErrorWithMsg(result, 0, 1, owner_) || result != 0) {
    return Fail(result, "ClSetGengo::GetCursor");
  }
  result = gengo->Ready(cursor);
  if (messages.CheckFatalErrorWithMsg(result, 0, 1, owner_) || result != 0) {
    gengo->ReleaseCursor(cursor);
    return Fail(result, "ClSetGengo::Ready");
  }

  StGENGOINFO previous{};
  bool havePrevious = false;
  for (;;) {
    StGENGOINFO record{};
    result = gengo->Walk(&record, cursor);
    if (messages.CheckFatalErrorWithMsg(result, 0, 1, owner_)) {
      gengo->ReleaseCursor(cursor);
      return Fail(result, "ClSetGengo::Walk");
    }
    if (result != 0) break;
    if (!havePrevious) {
      // Before the first era there is nothing to name; that is no error.
      if (date < record.firstDay) {
        gengo->ReleaseCursor(cursor);
        return false;
      }
    } else if (date >= previous.firstDay && date < record.firstDay) {
      break;
    }
    previous = record;
    havePrevious = true;
  }
  gengo->ReleaseCursor(cursor);

  if (!havePrevious || date > kLastFormattableDate) return false;
  era = previous;
  yearInEra = date / 10000 - previous.firstDay / 10000 + 1;
  return true;
}

std::string DateFormatter::FormatDate(int32_t date, int style) const {
  readFailed_ = false;
  if (style != 0) return {};
  StGENGOINFO era{};
  int32_t year = 0;
  if (!FindEra(date, era, year)) return {};
  std::string text(era.name, strnlen(era.name, sizeof era.name));
  text += std::to_string(year);
  text += SJ("年");
  text += std::to_string(date / 100 % 100);
  text += SJ("月");
  text += std::to_string(date % 100);
  text += SJ("日");
  return text;
}

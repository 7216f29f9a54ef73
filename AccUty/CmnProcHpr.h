// DateFormatter: dates (yyyymmdd) in the Japanese era form, with the eras read from the
// host's era master on every call, so a new era in the master needs no program change.
// Texts are code page 932.
#pragma once

#include <cstdint>
#include <string>

#include "platform/WinTypes.h"
#include "runtime/Records.h"

class ClSetMgr;

class DateFormatter {
 public:
  // ownSetMgrFlag 0: the host's current set manager serves the era master.
  explicit DateFormatter(int32_t ownSetMgrFlag = 0, ClSetMgr* ownSetMgr = nullptr, platform::HWND owner = 0);
  virtual ~DateFormatter() = default;

  // Style 0: era name, year within the era, month and day without leading zeros, as in
  // 令和1年5月1日. Empty when no era holds the date or the style is unknown.
  std::string FormatDate(int32_t date, int style) const;

  // The era of date and the year within it (calendar years); false when none holds it.
  bool FindEra(int32_t date, StGENGOINFO& era, int32_t& yearInEra) const;

 private:
  int32_t ownSetMgrFlag_ = 0;
  ClSetMgr* ownSetMgr_ = nullptr;
  platform::HWND owner_ = 0;
};

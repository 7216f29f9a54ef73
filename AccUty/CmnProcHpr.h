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

  // The era of date and the year within it (calendar years); false when none holds it or
  // the era master could not be read, which ReadFailed then tells apart.
  bool FindEra(int32_t date, StGENGOINFO& era, int32_t& yearInEra) const;
  // True when the last FindEra (or FormatDate) failed because the era master could not be
  // read, not because no era holds the date: an empty text is then no answer at all.
  bool ReadFailed() const { return readFailed_; }

 private:
  // Records the failed step and fails the lookup as a read failure.
  bool Fail(long result, const char* step) const;

  int32_t ownSetMgrFlag_ = 0;
  ClSetMgr* ownSetMgr_ = nullptr;
  platform::HWND owner_ = 0;
  mutable bool readFailed_ = false;
};

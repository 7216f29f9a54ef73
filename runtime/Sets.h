// The host's set objects: the accounting-data list, consumption-tax settings,
// the account master and the era master, reached through the set manager.
#pragma once

#include <memory>
#include <string>

#include "runtime/Records.h"

class ClAccPeriod;
class ClSetMgr;

// Common base of every set object handed out by GetSetObject.
class ClSetBase {
 public:
  virtual ~ClSetBase();
};

// Set kind 5: the accounting data of the installation.
class ClSetData : public ClSetBase {
 public:
  ClSetData();
  ~ClSetData() override;
  // The record of the data selected for the current user; 0 = filled.
  long GetSelectedInfo(StDATAINFO* info);
  long GetDatCursor(long* cursor);
  long ReadyDat(long cursor, long flags);
  // 0 = a record delivered, nonzero = no further record.
  long WalkDat(long cursor, StDATAINFO* info);
  long ReleaseDatCursor(long cursor);
  // The accounting period of the selected data, owned by the set.
  ClAccPeriod* GetAccPeriod();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Set kind 4: consumption-tax settings of one data.
class ClSetShohizei : public ClSetBase {
 public:
  ClSetShohizei();
  ~ClSetShohizei() override;
  long AttachSetMgr(ClSetMgr* setMgr);
  long SetCurDataID(const std::string& dataId);
  // 0 = the record is filled.
  long Get(StSHOHIZEIINFO* info);

 private:
  std::string dataId_;
};

// Set kind 1: the account master of the selected data.
class ClSetKamoku : public ClSetBase {
 public:
  ClSetKamoku();
  ~ClSetKamoku() override;
  long GetCursor(long* cursor);
  long ReadyCursor(long cursor, const StFINDINFO* find);
  // 0 = a record found and filled.
  long WalkFind(long cursor, StKAMOKUINFO* info);
  long ReleaseCursor(long cursor);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Set kind 13 of the set manager: the era master, ascending by first day.
class ClSetGengo : public ClSetBase {
 public:
  ClSetGengo();
  ~ClSetGengo() override;
  long GetCursor(long* cursor);
  long Ready(long cursor);
  // 0 = a record delivered, nonzero = no further record (or an error).
  long Walk(StGENGOINFO* info, long cursor);
  long ReleaseCursor(long cursor);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

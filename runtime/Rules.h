// The host's rule objects: cursors over balance rows, ledger postings and journal lines,
// and the saved financial-statement documents. Cursor moves return 0 for a row and
// kEndOfRows when no further row exists.
#pragma once

#include <memory>
#include <string>

#include "runtime/Records.h"

class ClSetMgr;
class ClOptLink;

inline constexpr long kEndOfRows = 5000;

// The summing modes of the balance cursor.
enum _RuleKamokuSumType_Base : short { RuleKamokuSumBase_Off = 0, RuleKamokuSumBase_On = 1 };
enum _RuleKamokuSumType_Bmn : short { RuleKamokuSumBmn_Off = 0 };
enum _RuleKamokuSumType_Disptype : short { RuleKamokuSumDisp_All = 0 };
enum _RuleKamokuSumType_Past : short { RuleKamokuSumPast_Off = 0 };

class ClRuleBase {
 public:
  virtual ~ClRuleBase();
  long AttachSetMgr(ClSetMgr* setMgr);
  long SetCurDataID(const std::string& dataId);
  long AttachOptLink(ClOptLink* optLink);

 protected:
  ClSetMgr* setMgr_ = nullptr;
  ClOptLink* optLink_ = nullptr;
  std::string dataId_;
};

// Per-account balance rows of the selected months.
class ClRuleKamoku : public ClRuleBase {
 public:
  ClRuleKamoku();
  ~ClRuleKamoku() override;
  long MoveReady(short base, short bmn, short disptype, const StFINDINFO* find, const StBUMONINFO* bumon,
                 short past);
  long GetSumCount(long* count);
  long SetMovePos(long pos);
  long MoveNext(StKAMOKUSUMINFO* row);
  long MoveFinish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Ledger postings of one account (the account and dates come from the ledger view).
class ClRuleMotocho : public ClRuleBase {
 public:
  ClRuleMotocho();
  ~ClRuleMotocho() override;
  long MoveReady(const StFINDINFO* find, const StORDERINFO* order, StMOTOCHOHYOJIINFO* view);
  long GetCount(const StFINDINFO* find, StMOTOCHOHYOJIINFO* view, long* count);
  long SetMovePos(long pos);
  long MoveFirst(StMOTOCHOINFO* posting);
  long MoveNext(StMOTOCHOINFO* posting);
  long MoveFinish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Lines of journal entries.
class ClRuleShiwake : public ClRuleBase {
 public:
  ClRuleShiwake();
  ~ClRuleShiwake() override;
  long MoveReady(const StFINDINFO* find, const StORDERINFO* order, void* display, short cursorType);
  long GetSwkCount(const StFINDINFO* find, void* display, long* count);
  long MoveFirst(StSWKTINFO* line);
  long MoveNext(StSWKTINFO* line);
  long MoveFinish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Kinds of the saved financial-statement documents.
enum _SaveKessanshoDataType02_DataKind : long {
  SaveKessanshoKind_Settings = 0,
  SaveKessanshoKind_NoteSettings = 100,
  SaveKessanshoKind_NoteText = 1000,
};

class ClSaveKessansho : public ClRuleBase {
 public:
  ClSaveKessansho();
  ~ClSaveKessansho() override;
  // 0 = buffer delivered (zero-terminated, code page 932); the caller frees it with CoTaskMemFree.
  long GetDataType02(long kind, void** buffer, long* length);
};

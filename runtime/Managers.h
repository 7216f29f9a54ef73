// The host's managers: data and set managers, the current user, option links and folders.
#pragma once

#include <memory>
#include <string>

class ClSetBase;

// The set manager of the host session.
class ClSetMgr {
 public:
  // Kind 13, argument 0: the era master (ClSetGengo); none for unknown kinds.
  ClSetBase* GetSetObject(long kind, long arg);
};

// The current host user.
class ClSysUser {
 public:
  // Copies the user id (at most 64 bytes and a NUL) into a 65-byte buffer; 0 = done.
  long GetCurUserID(char* userId65);
  // The two numbers of the user's selection; second = number of the selected data.
  long GetSelectedNo(const char* userId, long* first, long* second);
};

class ClDataMgr {
 public:
  static ClDataMgr& Inst();
  ClSetMgr* GetSetMgr();
  // Kind 1 account master (ClSetKamoku), 4 consumption tax (ClSetShohizei),
  // 5 accounting-data list (ClSetData); argument 1. Owned by the data manager.
  ClSetBase* GetSetObject(long kind, long arg);
  ClSysUser* GetSysUserObject();
};

// The option link that every rule object is attached to.
class ClOptLink {
 public:
  long linkNo = 0;
};

class ClLinkMgr {
 public:
  static ClLinkMgr& Inst();
  ClOptLink* GetOptLink();
};

class ClFileMgr {
 public:
  static ClFileMgr& Inst();
  // Folder text in Windows form, ending in a separator, or empty.
  // Kind 0: the default output folder; kind 1: the settings folder.
  std::string GetAppFolderPath(long kind);
};

// Releases a buffer that the host runtime allocated for the caller.
void CoTaskMemFree(void* buffer);

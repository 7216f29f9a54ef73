// The data manager, the set manager and the current user. The set objects live for the
// whole process, so a pointer the program keeps stays valid across attaches.
#include <cstring>

#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/TextField.h"
#include "runtime/HostCodes.h"
#include "runtime/Managers.h"
#include "runtime/Sets.h"

ClSetBase::~ClSetBase() = default;

ClSetBase* ClSetMgr::GetSetObject(long kind, long /*arg*/) {
  static ClSetGengo eras;
  return kind == hostcode::kSetEras ? &eras : nullptr;
}

long ClSysUser::GetCurUserID(char* userId65) {
  if (userId65 == nullptr) return orbeck::kNotReady;
  std::memset(userId65, 0, 65);
  orbeck::StatementUse query =
      orbeck::HostStore::Session().Prepare("SELECT current_user FROM session WHERE id = 1");
  if (query == nullptr) return orbeck::kNotAttached;
  if (!query->Step()) return query->Failed() ? orbeck::kStoreError : orbeck::kNotFound;
  orbeck::FillTextField(userId65, 65, query->Blob(0));
  return 0;
}

long ClSysUser::GetSelectedNo(const char* userId, long* first, long* second) {
  if (userId == nullptr) return orbeck::kNotReady;
  orbeck::StatementUse query = orbeck::HostStore::Session().Prepare(
      "SELECT selected_first, selected_no FROM users WHERE CAST(user_id AS BLOB) = CAST(?1 AS BLOB)");
  if (query == nullptr) return orbeck::kNotAttached;
  query->Bind(1, std::string_view(userId));
  if (!query->Step()) return query->Failed() ? orbeck::kStoreError : orbeck::kNotFound;
  if (first != nullptr) *first = static_cast<long>(query->Int(0));
  if (second != nullptr) *second = static_cast<long>(query->Int(1));
  return 0;
}

ClDataMgr& ClDataMgr::Inst() {
  static ClDataMgr manager;
  return manager;
}

ClSetMgr* ClDataMgr::GetSetMgr() {
  static ClSetMgr setMgr;
  return &setMgr;
}

ClSetBase* ClDataMgr::GetSetObject(long kind, long /*arg*/) {
  static ClSetKamoku accounts;
  static ClSetShohizei tax;
  static ClSetData data;
  switch (kind) {
    case hostcode::kSetAccounts:
      return &accounts;
    case hostcode::kSetTax:
      return &tax;
    case hostcode::kSetData:
      return &data;
    default:
      return nullptr;
  }
}

ClSysUser* ClDataMgr::GetSysUserObject() {
  static ClSysUser user;
  return &user;
}

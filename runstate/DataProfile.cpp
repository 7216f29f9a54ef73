// Reads of the selected data: its profile record through the data cursor, and the head
// of its consumption-tax settings.
#include "runstate/DataProfile.h"

#include <cstring>
#include <string>

#include "runstate/ReadFailure.h"
#include "runtime/HostCodes.h"
#include "runtime/Managers.h"
#include "runtime/Sets.h"

int ReadDataProfile(DataProfile& profile, ClSetData*& dataSet) {
  std::memset(&profile, 0, sizeof profile);
  ClDataMgr& dataMgr = ClDataMgr::Inst();
  if (!dataSet)
    dataSet = dynamic_cast<ClSetData*>(dataMgr.GetSetObject(hostcode::kSetData, hostcode::kDataSetArgument));
  if (!dataSet) return 0;

  char userId[65] = {};
  long first = 0;
  long selectedNo = 0;
  if (ClSysUser* user = dataMgr.GetSysUserObject()) {
    if (IsReadFailure(user->GetCurUserID(userId)) ||
        IsReadFailure(user->GetSelectedNo(userId, &first, &selectedNo)))
      return kProfileReadFailed;
  }

  long cursor = 0;
  if (IsReadFailure(dataSet->GetDatCursor(&cursor))) return kProfileReadFailed;
  long status = dataSet->ReadyDat(cursor, 0);
  int found = IsReadFailure(status) ? kProfileReadFailed : 0;
  StDATAINFO record{};
  while (found == 0 && status == 0) {
    status = dataSet->WalkDat(cursor, &record);
    if (status == 0 && record.selectedNo == selectedNo) {
      profile = record;
      found = 1;
    } else if (IsReadFailure(status)) {
      found = kProfileReadFailed;
    }
  }
  dataSet->ReleaseDatCursor(cursor);
  return found;
}

int ReadTaxSettings(uint8_t (&record)[12], const char* dataId) {
  ClDataMgr& dataMgr = ClDataMgr::Inst();
  auto* settings =
      dynamic_cast<ClSetShohizei*>(dataMgr.GetSetObject(hostcode::kSetTax, hostcode::kDataSetArgument));
  if (!settings) return 0;
  settings->AttachSetMgr(dataMgr.GetSetMgr());
  settings->SetCurDataID(dataId ? std::string(dataId, strnlen(dataId, sizeof(StDATAINFO::dataId)))
                                : std::string());
  StSHOHIZEIINFO info{};
  if (const long status = settings->Get(&info); status != 0)
    return IsReadFailure(status) ? kProfileReadFailed : 0;
  std::memcpy(record, &info, sizeof record);
  return 1;
}

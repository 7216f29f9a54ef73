// The consumption-tax settings of one data: the tax method and the amount basis.
#include <cstring>

#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "runtime/Sets.h"

ClSetShohizei::ClSetShohizei() = default;
ClSetShohizei::~ClSetShohizei() = default;

long ClSetShohizei::AttachSetMgr(ClSetMgr* /*setMgr*/) { return 0; }

long ClSetShohizei::SetCurDataID(const std::string& dataId) {
  dataId_ = dataId;
  return 0;
}

long ClSetShohizei::Get(StSHOHIZEIINFO* info) {
  if (info == nullptr) return orbeck::kNotReady;
  auto& store = orbeck::HostStore::Session();
  orbeck::StatementUse query =
      store.Prepare("SELECT tax_method, amount_basis FROM data WHERE data_id = ?1 AND has_tax_settings <> 0");
  if (query == nullptr) return store.IsOpen() ? orbeck::kStoreError : orbeck::kNotAttached;
  query->Bind(1, dataId_);
  if (!query->Step()) return query->Failed() ? orbeck::kStoreError : orbeck::kNotFound;
  std::memset(info, 0, sizeof *info);
  info->taxMethod = static_cast<int32_t>(query->Int(0));
  info->amountBasis = static_cast<uint8_t>(query->Int(1));
  return 0;
}

// The accounting-data list: the data cursor walks the data records in their stored order;
// the selected record is the one whose number the current user has selected.
#include <cstring>
#include <vector>

#include "orbeck/CursorTable.h"
#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/TextField.h"
#include "runtime/AccPeriod.h"
#include "runtime/Rules.h"
#include "runtime/Sets.h"

// The columns of a data record, in the order FillDataInfo reads them.
#define VELMORA_DATA_COLUMNS                                                                \
  "d.data_id, d.selected_no, d.company_name, d.period_start, d.period_end, d.closing_day, " \
  "d.pattern_flag, d.interim_closing, d.intro_month_index, d.companies_act_ready"

namespace {

void FillDataInfo(const orbeck::StoreStatement& row, StDATAINFO& info) {
  std::memset(&info, 0, sizeof info);
  orbeck::FillTextField(info.dataId, sizeof info.dataId, row.Blob(0));
  info.selectedNo = static_cast<int32_t>(row.Int(1));
  orbeck::FillTextField(info.companyName, sizeof info.companyName, row.Blob(2));
  info.periodStart = static_cast<int32_t>(row.Int(3));
  info.periodEnd = static_cast<int32_t>(row.Int(4));
  info.closingDay = static_cast<int32_t>(row.Int(5));
  info.patternFlag = static_cast<int32_t>(row.Int(6));
  info.interimClosing = static_cast<int32_t>(row.Int(7));
  info.introMonthIndex = static_cast<int16_t>(row.Int(8));
  info.companiesActReady = static_cast<uint8_t>(row.Int(9));
}

}  // namespace

struct ClSetData::Impl {
  struct Cursor {
    std::vector<StDATAINFO> records;
    std::size_t next = 0;
    bool ready = false;
  };
  orbeck::CursorTable<Cursor> cursors;
  ClAccPeriod period;
};

ClSetData::ClSetData() : impl_(std::make_unique<Impl>()) {}
ClSetData::~ClSetData() = default;

long ClSetData::GetSelectedInfo(StDATAINFO* info) {
  if (info == nullptr) return orbeck::kNotReady;
  auto& store = orbeck::HostStore::Session();
  std::string dataId;
  if (long status = store.SelectedDataId(dataId); status != 0) return status;
  orbeck::StatementUse query =
      store.Prepare("SELECT " VELMORA_DATA_COLUMNS " FROM data d WHERE d.data_id = ?1");
  if (query == nullptr) return orbeck::kStoreError;
  query->Bind(1, dataId);
  if (!query->Step()) return query->Failed() ? orbeck::kStoreError : orbeck::kNotFound;
  FillDataInfo(*query, *info);
  return 0;
}

long ClSetData::GetDatCursor(long* cursor) {
  if (cursor == nullptr) return orbeck::kNotReady;
  *cursor = impl_->cursors.Open();
  return 0;
}

long ClSetData::ReadyDat(long cursor, long /*flags*/) {
  auto* found = impl_->cursors.Find(cursor);
  if (found == nullptr) return orbeck::kNotReady;
  auto& store = orbeck::HostStore::Session();
  orbeck::StatementUse query = store.Prepare("SELECT " VELMORA_DATA_COLUMNS " FROM data d ORDER BY d.ord");
  if (query == nullptr) return store.IsOpen() ? orbeck::kStoreError : orbeck::kNotAttached;
  Impl::Cursor fresh;
  while (query->Step()) {
    StDATAINFO info;
    FillDataInfo(*query, info);
    fresh.records.push_back(info);
  }
  if (query->Failed()) return orbeck::kStoreError;
  fresh.ready = true;
  *found = std::move(fresh);
  return 0;
}

long ClSetData::WalkDat(long cursor, StDATAINFO* info) {
  auto* found = impl_->cursors.Find(cursor);
  if (found == nullptr || !found->ready || info == nullptr) return orbeck::kNotReady;
  Impl::Cursor& walk = *found;
  if (walk.next >= walk.records.size()) return kEndOfRows;
  *info = walk.records[walk.next++];
  return 0;
}

long ClSetData::ReleaseDatCursor(long cursor) {
  return impl_->cursors.Release(cursor) ? 0 : orbeck::kNotReady;
}

ClAccPeriod* ClSetData::GetAccPeriod() {
  StDATAINFO info;
  if (GetSelectedInfo(&info) != 0) return nullptr;
  impl_->period = ClAccPeriod();
  impl_->period.SetPeriod(info.periodStart, info.periodEnd);
  impl_->period.SetClosingDay(static_cast<short>(info.closingDay));
  return &impl_->period;
}

// The balance cursor: the data's balance rows in row order, each with its four arrays of
// 15 sums (missing entries 0). The month filter is accepted but every row carries all
// entries; the caller picks the months itself.
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreStatement.h"
#include "orbeck/TextField.h"
#include "runtime/Rules.h"

struct ClRuleKamoku::Impl {
  std::vector<StKAMOKUSUMINFO> rows;
  std::size_t next = 0;
  bool ready = false;
};

ClRuleKamoku::ClRuleKamoku() : impl_(std::make_unique<Impl>()) {}
ClRuleKamoku::~ClRuleKamoku() = default;

namespace {

long LoadRows(const std::string& dataId, std::vector<StKAMOKUSUMINFO>& rows) {
  auto& store = orbeck::HostStore::Session();
  orbeck::StatementUse accounts = store.Prepare(
      "SELECT account_code, official_name, second_name, flag_a, flag_b, kind, debit_nature, "
      "account_character FROM accounts WHERE data_id = ?1 AND balance_row = 1 ORDER BY row_order");
  if (accounts == nullptr) return store.IsOpen() ? orbeck::kStoreError : orbeck::kNotAttached;
  accounts->Bind(1, dataId);
  std::unordered_map<int32_t, std::size_t> rowOf;
  while (accounts->Step()) {
    StKAMOKUSUMINFO row;
    std::memset(&row, 0, sizeof row);
    row.accountCode = static_cast<int32_t>(accounts->Int(0));
    orbeck::FillNameField(row.officialName, sizeof row.officialName, accounts->Blob(1));
    orbeck::FillNameField(row.secondName, sizeof row.secondName, accounts->Blob(2));
    row.flagA = static_cast<uint8_t>(accounts->Int(3));
    row.flagB = static_cast<uint8_t>(accounts->Int(4));
    row.kind = static_cast<uint8_t>(accounts->Int(5));
    row.debitNature = static_cast<uint8_t>(accounts->Int(6));
    row.accountCharacter = static_cast<int32_t>(static_cast<uint32_t>(accounts->Int(7)));
    rowOf.emplace(int32_t{row.accountCode}, rows.size());
    rows.push_back(row);
  }
  if (accounts->Failed()) return orbeck::kStoreError;

  orbeck::StatementUse sums =
      store.Prepare("SELECT account_code, amount_set, side, entry, amount FROM sums WHERE data_id = ?1");
  if (sums == nullptr) return orbeck::kStoreError;
  sums->Bind(1, dataId);
  while (sums->Step()) {
    auto found = rowOf.find(static_cast<int32_t>(sums->Int(0)));
    int64_t entry = sums->Int(3);
    if (found == rowOf.end() || entry < 0 || entry >= kSumEntries) continue;
    StKAMOKUSUMINFO& row = rows[found->second];
    bool debit = sums->Blob(2) == "D";
    bool set1 = sums->Int(1) == 1;
    int64_t* target = debit ? (set1 ? row.debit1 : row.debit2) : (set1 ? row.credit1 : row.credit2);
    target[entry] = sums->Int(4);
  }
  return sums->Failed() ? orbeck::kStoreError : 0;
}

}  // namespace

long ClRuleKamoku::MoveReady(short /*base*/, short /*bmn*/, short /*disptype*/, const StFINDINFO* /*find*/,
                             const StBUMONINFO* /*bumon*/, short /*past*/) {
  impl_->rows.clear();
  impl_->next = 0;
  impl_->ready = false;
  if (long status = LoadRows(dataId_, impl_->rows); status != 0) {
    impl_->rows.clear();
    return status;
  }
  impl_->ready = true;
  return 0;
}

long ClRuleKamoku::GetSumCount(long* count) {
  if (orbeck::InjectedReadFailure("ClRuleKamoku::GetSumCount")) return orbeck::kStoreError;
  if (!impl_->ready || count == nullptr) return orbeck::kNotReady;
  *count = static_cast<long>(impl_->rows.size());
  return 0;
}

long ClRuleKamoku::SetMovePos(long pos) {
  if (orbeck::InjectedReadFailure("ClRuleKamoku::SetMovePos")) return orbeck::kStoreError;
  if (!impl_->ready || pos < 0) return orbeck::kNotReady;
  impl_->next = static_cast<std::size_t>(pos);
  return 0;
}

long ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* row) {
  if (!impl_->ready || row == nullptr) return orbeck::kNotReady;
  if (impl_->next >= impl_->rows.size()) return kEndOfRows;
  const StKAMOKUSUMINFO& next = impl_->rows[impl_->next];
  if (orbeck::InjectedReadFailure("ClRuleKamoku::MoveNext", std::to_string(next.accountCode)))
    return orbeck::kStoreError;
  *row = next;
  ++impl_->next;
  return 0;
}

long ClRuleKamoku::MoveFinish() {
  impl_->rows.clear();
  impl_->next = 0;
  impl_->ready = false;
  return 0;
}

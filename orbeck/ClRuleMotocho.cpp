// The ledger cursor: the postings of the ledger view's account number (the account and
// its sub-accounts, either side of a journal line) dated within the view's range, ordered
// by date, journal and line. Under the tax-excluded basis the consumption tax of other
// accounts' lines posts to the two tax accounts, so their ledgers carry those lines too.
#include <cstring>
#include <string>
#include <vector>

#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreStatement.h"
#include "orbeck/TextField.h"
#include "platform/Faults.h"
#include "runtime/Rules.h"

// An account's own lines are found through the code indexes first (CROSS JOIN keeps the
// planner from walking every journal of the range); a tax account's ledger needs every line
// of the range anyway, so it walks the journals by date.
#define VELMORA_POSTING_QUERY(join, extra)                                                 \
  "SELECT l.journal_id, l.line_no, j.date, l.counter_kind, l.debit_code, l.debit_amount, " \
  "l.debit_tax, l.credit_code, l.credit_amount, l.credit_tax, l.description "              \
  "FROM journal_lines l " join                                                             \
  " journals j ON j.data_id = l.data_id AND j.journal_id = l.journal_id "                  \
  "WHERE l.data_id = ?1 AND j.date BETWEEN ?4 AND ?5 "                                     \
  "AND (l.debit_code BETWEEN ?2 AND ?3 OR l.credit_code BETWEEN ?2 AND ?3" extra           \
  ") "                                                                                     \
  "ORDER BY j.date, l.journal_id, l.line_no"

namespace {

inline constexpr uint32_t kPaidTaxCharacter = 0x80880810;      // 仮払消費税: takes debit taxes
inline constexpr uint32_t kReceivedTaxCharacter = 0x80484010;  // 仮受消費税: takes credit taxes

inline constexpr uint8_t kSideCredit = 1;
inline constexpr uint8_t kSideDebit = 2;
inline constexpr uint8_t kSideBoth = 3;

struct ViewKey {
  int32_t accountCode = 0;
  int32_t startDate = 0;
  int32_t endDate = 0;
  bool operator==(const ViewKey&) const = default;
};

}  // namespace

struct ClRuleMotocho::Impl {
  std::vector<StMOTOCHOINFO> postings;
  ViewKey loaded;
  std::size_t next = 0;
  bool ready = false;

  long Load(const std::string& dataId, const StMOTOCHOHYOJIINFO& view);
};

long ClRuleMotocho::Impl::Load(const std::string& dataId, const StMOTOCHOHYOJIINFO& view) {
  ViewKey key{view.accountCode, view.startDate, view.endDate};
  if (ready && key == loaded) return 0;
  ready = false;
  postings.clear();
  next = 0;

  auto& store = orbeck::HostStore::Session();
  if (!store.IsOpen()) return orbeck::kNotAttached;
  const orbeck::AccountMaster* master = store.Accounts(dataId);
  if (master == nullptr) return orbeck::kStoreError;
  uint32_t character = 0;
  if (auto found = master->byCode.find(int32_t{view.accountCode}); found != master->byCode.end())
    character = static_cast<uint32_t>(found->second.accountCharacter);

  const char* sql = VELMORA_POSTING_QUERY("CROSS JOIN", "");
  uint8_t taxSide = 0;
  if (character == kPaidTaxCharacter) {
    sql = VELMORA_POSTING_QUERY("JOIN", " OR l.debit_tax <> 0");
    taxSide = kSideDebit;
  } else if (character == kReceivedTaxCharacter) {
    sql = VELMORA_POSTING_QUERY("JOIN", " OR l.credit_tax <> 0");
    taxSide = kSideCredit;
  }
  orbeck::StatementUse query = store.Prepare(sql);
  if (query == nullptr) return orbeck::kStoreError;
  int32_t accountNo = view.accountCode / 10000;
  query->Bind(1, dataId);
  query->Bind(2, int64_t{accountNo} * 10000);
  query->Bind(3, int64_t{accountNo} * 10000 + 9999);
  query->Bind(4, int64_t{view.startDate});
  query->Bind(5, int64_t{view.endDate});
  while (query->Step()) {
    StMOTOCHOINFO posting;
    std::memset(&posting, 0, sizeof posting);
    posting.journalId = static_cast<int32_t>(query->Int(0));
    posting.lineNo = static_cast<int32_t>(query->Int(1));
    posting.date = static_cast<int32_t>(query->Int(2));
    posting.counterKind = static_cast<uint8_t>(query->Int(3));
    posting.debitCode = static_cast<int32_t>(query->Int(4));
    posting.debitAmount = query->Int(5);
    posting.debitTax = query->Int(6);
    posting.creditCode = static_cast<int32_t>(query->Int(7));
    posting.creditAmount = query->Int(8);
    posting.creditTax = query->Int(9);
    orbeck::FillNameField(posting.description, sizeof posting.description, query->Blob(10));
    bool onDebit = posting.debitCode / 10000 == accountNo;
    bool onCredit = posting.creditCode / 10000 == accountNo;
    posting.side = onDebit && onCredit ? kSideBoth : onDebit ? kSideDebit : onCredit ? kSideCredit : taxSide;
    postings.push_back(posting);
  }
  if (query->Failed()) {
    postings.clear();
    return orbeck::kStoreError;
  }
  loaded = key;
  ready = true;
  return 0;
}

ClRuleMotocho::ClRuleMotocho() : impl_(std::make_unique<Impl>()) {}
ClRuleMotocho::~ClRuleMotocho() = default;

long ClRuleMotocho::MoveReady(const StFINDINFO* /*find*/, const StORDERINFO* /*order*/,
                              StMOTOCHOHYOJIINFO* view) {
  if (view == nullptr) return orbeck::kNotReady;
  impl_->ready = false;
  return impl_->Load(dataId_, *view);
}

long ClRuleMotocho::GetCount(const StFINDINFO* /*find*/, StMOTOCHOHYOJIINFO* view, long* count) {
  if (orbeck::InjectedReadFailure("ClRuleMotocho::GetCount")) return orbeck::kStoreError;
  if (view == nullptr || count == nullptr) return orbeck::kNotReady;
  if (long status = impl_->Load(dataId_, *view); status != 0) return status;
  *count = static_cast<long>(impl_->postings.size());
  return 0;
}

long ClRuleMotocho::SetMovePos(long pos) {
  if (!impl_->ready || pos < 0) return orbeck::kNotReady;
  impl_->next = static_cast<std::size_t>(pos);
  return 0;
}

long ClRuleMotocho::MoveFirst(StMOTOCHOINFO* posting) {
  if (!impl_->ready) return orbeck::kNotReady;
  impl_->next = 0;
  return MoveNext(posting);
}

long ClRuleMotocho::MoveNext(StMOTOCHOINFO* posting) {
  if (!impl_->ready || posting == nullptr) return orbeck::kNotReady;
  if (impl_->next >= impl_->postings.size()) return kEndOfRows;
  if (orbeck::InjectedReadFailure("ClRuleMotocho::MoveNext", std::to_string(impl_->loaded.accountCode)))
    return orbeck::kStoreError;
  *posting = impl_->postings[impl_->next++];
  return 0;
}

long ClRuleMotocho::MoveFinish() {
  impl_->postings.clear();
  impl_->next = 0;
  impl_->ready = false;
  return 0;
}

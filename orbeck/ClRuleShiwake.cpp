// The journal cursor: the lines of the journal entry that the find names, by line number.
#include <cstring>
#include <vector>

#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreStatement.h"
#include "orbeck/TextField.h"
#include "runtime/HostCodes.h"
#include "runtime/Rules.h"

struct ClRuleShiwake::Impl {
  std::vector<StSWKTINFO> lines;
  int32_t journalId = 0;
  std::size_t next = 0;
  bool ready = false;

  long Load(const std::string& dataId, const StFINDINFO* find);
};

long ClRuleShiwake::Impl::Load(const std::string& dataId, const StFINDINFO* find) {
  if (find == nullptr || find->cond[0].item != hostcode::kFindJournalId) return orbeck::kNotReady;
  int32_t wanted =
      find->cond[0].valueType == hostcode::kShortValue ? find->cond[0].shortValue : find->cond[0].longValue;
  if (ready && wanted == journalId) return 0;
  ready = false;
  lines.clear();
  next = 0;
  auto& store = orbeck::HostStore::Session();
  orbeck::StatementUse query = store.Prepare(
      "SELECT l.journal_id, l.line_no, j.date, l.counter_kind, l.debit_code, l.debit_amount, "
      "l.debit_tax, l.credit_code, l.credit_amount, l.credit_tax, l.description "
      "FROM journal_lines l JOIN journals j ON j.data_id = l.data_id AND j.journal_id = l.journal_id "
      "WHERE l.data_id = ?1 AND l.journal_id = ?2 ORDER BY l.line_no");
  if (query == nullptr) return store.IsOpen() ? orbeck::kStoreError : orbeck::kNotAttached;
  query->Bind(1, dataId);
  query->Bind(2, int64_t{wanted});
  while (query->Step()) {
    StSWKTINFO line;
    std::memset(&line, 0, sizeof line);
    line.journalId = static_cast<int32_t>(query->Int(0));
    line.lineNo = static_cast<int32_t>(query->Int(1));
    line.date = static_cast<int32_t>(query->Int(2));
    line.counterKind = static_cast<uint8_t>(query->Int(3));
    line.debitCode = static_cast<int32_t>(query->Int(4));
    line.debitAmount = query->Int(5);
    line.debitTax = query->Int(6);
    line.creditCode = static_cast<int32_t>(query->Int(7));
    line.creditAmount = query->Int(8);
    line.creditTax = query->Int(9);
    orbeck::FillNameField(line.description, sizeof line.description, query->Blob(10));
    lines.push_back(line);
  }
  if (query->Failed()) {
    lines.clear();
    return orbeck::kStoreError;
  }
  journalId = wanted;
  ready = true;
  return 0;
}

ClRuleShiwake::ClRuleShiwake() : impl_(std::make_unique<Impl>()) {}
ClRuleShiwake::~ClRuleShiwake() = default;

long ClRuleShiwake::MoveReady(const StFINDINFO* find, const StORDERINFO* /*order*/, void* /*display*/,
                              short /*cursorType*/) {
  impl_->ready = false;
  return impl_->Load(dataId_, find);
}

long ClRuleShiwake::GetSwkCount(const StFINDINFO* find, void* /*display*/, long* count) {
  if (count == nullptr) return orbeck::kNotReady;
  if (long status = impl_->Load(dataId_, find); status != 0) return status;
  *count = static_cast<long>(impl_->lines.size());
  return 0;
}

long ClRuleShiwake::MoveFirst(StSWKTINFO* line) {
  if (!impl_->ready) return orbeck::kNotReady;
  impl_->next = 0;
  return MoveNext(line);
}

long ClRuleShiwake::MoveNext(StSWKTINFO* line) {
  if (!impl_->ready || line == nullptr) return orbeck::kNotReady;
  if (impl_->next >= impl_->lines.size()) return kEndOfRows;
  if (orbeck::InjectedReadFailure("ClRuleShiwake::MoveNext", std::to_string(impl_->journalId)))
    return orbeck::kStoreError;
  *line = impl_->lines[impl_->next++];
  return 0;
}

long ClRuleShiwake::MoveFinish() {
  impl_->lines.clear();
  impl_->next = 0;
  impl_->ready = false;
  return 0;
}

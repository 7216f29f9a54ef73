// The checks of journals: each on its own as it is read, then against its data record
// (fiscal period, accounts, unique ids) once the record is complete.
#include "orbeck/store/DocumentChecker.h"

#include <unordered_map>
#include <unordered_set>

namespace orbeck::store {

using nlohmann::json;

// The journals of data record `dataIndex` arrive one by one while the document is read,
// before the rest of the record is known: each is checked on its own here, and against
// the record's accounts and period once the record is complete.
// Each journal valid on its own also goes to the sink, if any, with the record's id as
// read so far (`dataId`, null when not read yet).
bool DocumentChecker::StreamJournal(const json& j, std::size_t dataIndex, std::size_t journalIndex,
                                    const std::string* dataId) {
  JournalRecord journal;
  std::string ptr = JsonReader::Child(JsonReader::Child("/data", dataIndex) + "/journals", journalIndex);
  if (!ParseJournal(j, ptr, journal)) return false;
  StreamJournalRecord(std::move(journal), dataIndex, dataId);
  return true;
}

// A journal already found valid on its own.
void DocumentChecker::StreamJournalRecord(JournalRecord&& journal, std::size_t dataIndex,
                                          const std::string* dataId) {
  if (streamed_.size() <= dataIndex) streamed_.resize(dataIndex + 1);
  streamed_[dataIndex].push_back(std::move(journal));
  if (sink_ != nullptr) sink_->Take(dataIndex, dataId, streamed_[dataIndex].back());
}

// A side without an account carries neither amount nor tax.
bool DocumentChecker::CheckSide(const std::string& ptr, const char* amountName, const char* taxName,
                                int32_t code, int64_t amount, int64_t tax) {
  if (code != 0) return true;
  if (amount != 0) return r_.Fail(JsonReader::Child(ptr, amountName), "amount on a side without an account");
  if (tax != 0) return r_.Fail(JsonReader::Child(ptr, taxName), "tax on a side without an account");
  return true;
}

// One journal as it stands, without what needs its data record (period, accounts).
bool DocumentChecker::ParseJournal(const json& j, const std::string& ptr, JournalRecord& journal) {
  if (!Members(j, ptr, members::kJournalMembers, journal)) return false;
  if (journal.adjustment != 0 && journal.adjustment != 13 && journal.adjustment != 14) {
    return r_.Fail(ptr + "/adjustment", "must be 0, 13 (year-end) or 14 (interim)");
  }
  const json& lines = j["lines"];
  if (!r_.Array(lines, ptr + "/lines")) return false;
  if (lines.empty()) return r_.Fail(ptr + "/lines", "a journal needs at least one line");
  journal.lines.reserve(lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    std::string linePtr = JsonReader::Child(ptr + "/lines", k);
    JournalLineRecord line;
    if (!Members(lines[k], linePtr, members::kLineMembers, line) ||
        !CheckSide(linePtr, "debitAmount", "debitTax", line.debitCode, line.debitAmount, line.debitTax) ||
        !CheckSide(linePtr, "creditAmount", "creditTax", line.creditCode, line.creditAmount,
                   line.creditTax)) {
      return false;
    }
    if (line.debitCode == 0 && line.creditCode == 0)
      return r_.Fail(linePtr, "a line needs a debit or a credit account");
    journal.lines.push_back(std::move(line));
  }
  return true;
}

bool DocumentChecker::ParseJournals(const json& d, const std::string& dataPtr, DataRecord& out) {
  const json* journals = r_.Member(d, dataPtr, "journals", false);
  if (journals == nullptr) return !r_.Failed();
  std::string listPtr = dataPtr + "/journals";
  if (!r_.Array(*journals, listPtr)) return false;
  if (streaming_) {
    if (dataIndex_ < streamed_.size()) out.journals = std::move(streamed_[dataIndex_]);
  } else {
    out.journals.resize(journals->size());
    for (std::size_t i = 0; i < journals->size(); ++i) {
      if (!ParseJournal((*journals)[i], JsonReader::Child(listPtr, i), out.journals[i])) return false;
    }
  }
  // What a journal side needs to know of an account: its kind, and whether it is a
  // consumption-tax account (of a tax character, or a sub-account of one).
  struct Use {
    int kind = 0;
    bool taxAccount = false;
  };
  std::unordered_map<int32_t, Use> uses;
  uses.reserve(out.accounts.size());
  auto isTax = [](uint32_t character) {
    return character == kPaidTaxCharacter || character == kReceivedTaxCharacter;
  };
  for (const AccountRecord& acc : out.accounts) uses[acc.code] = {acc.kind, isTax(acc.character)};
  for (auto& [code, use] : uses) {
    const auto parent = uses.find(code - code % 10000);
    if (parent != uses.end() && parent->second.taxAccount) use.taxAccount = true;
  }
  std::unordered_set<int32_t> ids;
  ids.reserve(out.journals.size());
  for (std::size_t i = 0; i < out.journals.size(); ++i) {
    const JournalRecord& journal = out.journals[i];
    // Pointers are built only for a fault: a million lines pass here.
    auto journalPtr = [&] { return JsonReader::Child(listPtr, i); };
    if (journal.date < out.periodStart || journal.date > out.periodEnd) {
      return r_.Fail(journalPtr() + "/date", "lies outside the fiscal period");
    }
    if (!ids.insert(journal.id).second) return r_.Fail(journalPtr() + "/id", "duplicate journal id");
    for (std::size_t k = 0; k < journal.lines.size(); ++k) {
      const JournalLineRecord& line = journal.lines[k];
      auto sidePtr = [&](const char* member) {
        return JsonReader::Child(JsonReader::Child(journalPtr() + "/lines", k), member);
      };
      int32_t taxAccount = 0;
      for (const auto& [code, name] :
           {std::pair{line.debitCode, "debit"}, std::pair{line.creditCode, "credit"}}) {
        if (code == 0) continue;
        const auto use = uses.find(code);
        if (use == uses.end()) return r_.Fail(sidePtr(name), "unknown account code " + std::to_string(code));
        if (use->second.kind != 0)
          return r_.Fail(sidePtr(name), "journal lines may only name accounts of kind 0");
        if (use->second.taxAccount && taxAccount == 0) taxAccount = code;
      }
      // The host never holds a tax on a line of a consumption-tax account: the ledger could
      // not show it, and the statements would no longer balance.
      if (taxAccount != 0 && (line.debitTax != 0 || line.creditTax != 0)) {
        return r_.Fail(sidePtr(line.debitTax != 0 ? "debitTax" : "creditTax"),
                       "journal " + std::to_string(journal.id) + " line " + std::to_string(k + 1) +
                           " names the consumption-tax account " + std::to_string(taxAccount) +
                           " and carries a tax; such a line carries none");
      }
    }
  }
  return true;
}

}  // namespace orbeck::store

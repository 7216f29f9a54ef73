// The book sink: placing, numbering, checking and keeping the books.
#include "tools/orbeck-import/BookImporter.h"

#include <algorithm>

#include "platform/Cp932.h"
#include "tools/orbeck-import/YenText.h"

namespace orbeck::import {

int Cp932Within(const std::string& utf8, std::size_t limit, const std::string& what, std::string& out,
                std::string& error) {
  platform::cp932::Conversion converted = platform::cp932::FromUtf8(utf8);
  if (!converted.ok) {
    error = what + " \"" + utf8 + "\" has no code page 932 form";
    return 0;
  }
  if (converted.text.size() > limit) {
    error = what + " \"" + utf8 + "\" is " + std::to_string(converted.text.size()) +
            " bytes in code page 932, over " + std::to_string(limit);
    return 0;
  }
  out = std::move(converted.text);
  return 1;
}

BookImporter::BookImporter(const AccountMap& map) : map_(map) {
  for (const MapRule& rule : map.rules)
    if (rule.number != 0) reserved_.push_back(rule.number);
}

int BookImporter::NextNumber(const Section& section) const {
  for (int n = section.firstNumber; n <= section.lastNumber; ++n)
    if (numbers_.count(n) == 0 && std::find(reserved_.begin(), reserved_.end(), n) == reserved_.end())
      return n;
  return 0;
}

int BookImporter::NewHost(const Placement& placement, const std::string& origin, int32_t& host,
                          std::string& error) {
  HostAccount account;
  account.section = placement.section;
  account.name = placement.hostName;
  std::string bytes;
  if (Cp932Within(account.name, 30, origin + ": the account name", bytes, error) == 0) return 0;
  bool retained = std::string(placement.section->key) == kRetainedKey;
  account.number = retained                ? kRetainedNumber
                   : placement.number != 0 ? placement.number
                                           : NextNumber(*placement.section);
  if (account.number == 0) {
    error = origin + ": " + placement.hostPath + ": the section " + placement.section->key +
            " has no account number left; give numbers in the map";
    return 0;
  }
  host = static_cast<int32_t>(books_.accounts.size());
  numbers_[account.number] = host;
  books_.accounts.push_back(std::move(account));
  if (IsManufacturing(*placement.section)) books_.manufacturing = true;
  return 1;
}

// A side's own tax (a journal CSV states it beside the amount) is summed by the host on the
// consumption-tax account of its side, which the books may never name: without one the
// host would leave the tax out and the balance sheet would not balance.
int BookImporter::TaxAccount(bool debit, const std::string& origin, std::string& error) {
  const char* key = debit ? kTaxPaidKey : kTaxReceivedKey;
  for (const HostAccount& account : books_.accounts)
    if (std::string(account.section->key) == key) return 1;
  Placement placement;
  placement.section = FindSection(key);
  placement.hostName = debit ? "仮払消費税" : "仮受消費税";
  placement.hostPath = std::string("(") + key + ")";
  placement.rule = "the taxes the books state";
  int32_t host = 0;
  if (NewHost(placement, origin, host, error) == 0) return 0;
  hosts_[placement.hostPath] = host;
  return 1;
}

int BookImporter::Admit(const SourceAccount& account, std::string& error) {
  order_.push_back(account.path);
  Known known;
  known.origin = account.origin;
  Placement placement;
  if (Place(map_, account, placement, error) == 0) return 0;
  if (placement.section == nullptr) {
    known_[account.path] = known;
    return 1;
  }
  bool retained = std::string(placement.section->key) == kRetainedKey;
  // 繰越利益剰余金 is the chart's own row; each source account placed there is one of its
  // sub-accounts.
  std::string hostPath = retained ? std::string(kRetainedKey) : placement.hostPath;
  std::string subName = retained ? placement.hostName : placement.subName;
  auto found = hosts_.find(hostPath);
  int32_t host = 0;
  if (found != hosts_.end()) {
    host = found->second;
  } else {
    if (NewHost(placement, account.origin, host, error) == 0) return 0;
    hosts_[hostPath] = host;
  }
  HostAccount& target = books_.accounts[host];
  known.placed = true;
  known.rule = placement.rule;
  known.host = host;
  if (!subName.empty()) {
    auto sub = std::find_if(target.subs.begin(), target.subs.end(),
                            [&](const SubAccount& s) { return s.name == subName; });
    if (sub == target.subs.end()) {
      if (target.subs.size() == 9999) {
        error = account.origin + ": " + account.path + ": more than 9999 sub-accounts of " + target.name;
        return 0;
      }
      std::string bytes;
      if (Cp932Within(subName, 30, account.origin + ": the sub-account name", bytes, error) == 0) return 0;
      target.subs.push_back(SubAccount{subName});
      sub = target.subs.end() - 1;
    }
    known.sub = static_cast<int32_t>(sub - target.subs.begin()) + 1;
  }
  known_[account.path] = known;
  return 1;
}

int BookImporter::Take(const SourceAccount& account, std::string& error) {
  if (known_.count(account.path) != 0) return 1;
  return Admit(account, error);
}

int BookImporter::Take(const Transaction& transaction, std::string& error) {
  const Company& company = map_.company;
  int64_t balance = 0;
  for (const Posting& posting : transaction.postings) {
    if (__builtin_add_overflow(balance, posting.amount, &balance)) {
      error = transaction.origin + ": amounts too large";
      return 0;
    }
  }
  if (balance != 0) {
    error = transaction.origin + ": the entry does not balance (off by " + YenText(balance) + " yen)";
    return 0;
  }
  if (transaction.date > company.periodEnd) {
    ++books_.after;
    return 1;
  }
  BookedTransaction booked;
  booked.date = transaction.date;
  booked.origin = transaction.origin;
  bool inPeriod = transaction.date >= company.periodStart;
  std::string bytes;
  if (inPeriod &&
      Cp932Within(transaction.description, 60, transaction.origin + ": the description", bytes, error) == 0)
    return 0;
  booked.description = transaction.description;
  booked.first = static_cast<uint32_t>(books_.postings.size());
  for (const Posting& posting : transaction.postings) {
    auto found = known_.find(posting.account);
    if (found == known_.end()) {
      SourceAccount unseen;
      unseen.path = posting.account;
      unseen.origin = posting.origin.empty() ? transaction.origin : posting.origin;
      if (Admit(unseen, error) == 0) return 0;
      found = known_.find(posting.account);
    }
    Known& known = found->second;
    if (!known.placed) {
      if (!known.active) unplaced_.push_back(posting.account + " (" + known.origin + ")");
      known.active = true;
      continue;
    }
    known.active = true;
    HostAccount& host = books_.accounts[known.host];
    if (!inPeriod) {
      if (IsBalanceSheet(*host.section) && std::string(host.section->key) != kRetainedKey)
        host.debitSum += posting.amount;
      else
        books_.retainedDebitSum += posting.amount;
      continue;
    }
    if (posting.tax != 0 && IsTaxSection(*host.section)) {
      error =
          transaction.origin + ": " + posting.account + " is a consumption-tax account with a tax of its own";
      return 0;
    }
    if (posting.amount == 0 && posting.tax == 0) continue;
    if (posting.tax != 0 && TaxAccount(posting.amount > 0, posting.origin, error) == 0) return 0;
    books_.postings.push_back(
        BookedPosting{known.host, known.sub, posting.amount, posting.tax, posting.pair});
  }
  booked.count = static_cast<uint32_t>(books_.postings.size()) - booked.first;
  if (inPeriod && unplaced_.empty()) books_.transactions.push_back(std::move(booked));
  return 1;
}

int BookImporter::Finish(std::string& error) {
  if (unplaced_.empty()) return 1;
  error = std::to_string(unplaced_.size()) + " account" + (unplaced_.size() == 1 ? "" : "s") +
          " with activity that the map does not place:";
  for (const std::string& account : unplaced_) error += "\n  " + account;
  return 0;
}

}  // namespace orbeck::import

// The sink that turns books into the host's chart and journals: it places each source
// account, numbers the host accounts and their sub-accounts in order of appearance, checks
// each transaction as it comes, keeps the period's transactions compactly and turns the
// earlier ones into opening balances (the profit and loss of earlier years into
// 繰越利益剰余金). Every refusal is one line naming the source line or account.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tools/orbeck-import/AccountMap.h"
#include "tools/orbeck-import/Placement.h"

namespace orbeck::import {

struct SubAccount {
  std::string name;  // UTF-8
};

struct HostAccount {
  const Section* section = nullptr;
  int number = 0;    // account number (繰越利益剰余金's, the chart's own row, for its sub-accounts)
  std::string name;  // UTF-8
  int64_t debitSum = 0;  // what the transactions before the period leave, debit positive
  std::vector<SubAccount> subs;
};

struct BookedPosting {
  int32_t host = 0;    // index into accounts
  int32_t sub = 0;     // 0: the account itself, else the sub-account's number
  int64_t amount = 0;  // tax included, debit positive
  int64_t tax = 0;
  int32_t pair = -1;
};

struct BookedTransaction {
  int32_t date = 0;
  std::string description;  // UTF-8, known to fit the host's 60 bytes
  std::string origin;
  uint32_t first = 0;  // postings[first, first + count)
  uint32_t count = 0;
};

// What the importer made of the books, ready for the host document.
struct ImportedBooks {
  std::vector<HostAccount> accounts;
  std::vector<BookedTransaction> transactions;
  std::vector<BookedPosting> postings;
  int64_t retainedDebitSum = 0;  // earlier years' result and 繰越利益剰余金's own earlier postings
  std::size_t after = 0;         // transactions after the period, left out
  bool manufacturing = false;
};

class BookImporter : public BookSink {
 public:
  explicit BookImporter(const AccountMap& map);

  int Take(const SourceAccount& account, std::string& error) override;
  int Take(const Transaction& transaction, std::string& error) override;

  // 0 with every account with activity that the map does not place, one per line.
  int Finish(std::string& error);

  const ImportedBooks& Books() const { return books_; }

  // One line per source account in order of appearance: path → section → account code →
  // the statement line it lands on (and what placed it).
  void Explain(std::ostream& out) const;

 private:
  struct Known {
    bool placed = false;
    int32_t host = -1;
    int32_t sub = 0;
    std::string origin;
    bool active = false;
    std::string rule;  // what placed it, for --explain
  };
  const AccountMap& map_;
  ImportedBooks books_;
  std::map<std::string, Known> known_;    // by source path
  std::map<std::string, int32_t> hosts_;  // by host path
  std::map<int, int32_t> numbers_;        // account number -> host index
  std::vector<int> reserved_;             // the map's own numbers
  std::vector<std::string> unplaced_;
  std::vector<std::string> order_;  // source paths in order of appearance

  int Admit(const SourceAccount& account, std::string& error);
  int NewHost(const Placement& placement, const std::string& origin, int32_t& host, std::string& error);
  int NextNumber(const Section& section) const;
  int TaxAccount(bool debit, const std::string& origin, std::string& error);
};

// The text in code page 932 within `limit` bytes; 0 with "what: ..." otherwise.
int Cp932Within(const std::string& utf8, std::size_t limit, const std::string& what, std::string& out,
                std::string& error);

}  // namespace orbeck::import

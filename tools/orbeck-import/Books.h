// The books an importer reads, in one shape for every source (hledger's JSON, journal CSV,
// GnuCash): accounts as the source names them and transactions of signed postings. Texts are
// UTF-8 as the sources give them; they become code page 932 only when the host document is
// made. Amounts are ten-thousandths of a yen, debit positive, credit negative.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orbeck::import {

// What the source itself says an account is; Unknown where it says nothing.
enum class SourceType { Unknown, Asset, Liability, Equity, Revenue, Expense };

struct SourceAccount {
  std::string path;  // the source's full name, levels joined by ':' ("資産:流動資産:現金")
  SourceType type = SourceType::Unknown;
  std::string origin;  // where it is declared, for messages ("book.journal:12", "accounts/guid")
};

struct Posting {
  std::string account;   // SourceAccount::path
  int64_t amount = 0;    // the posting's value, tax included; debit positive
  int64_t tax = 0;       // consumption tax inside `amount`, signed like it, where the source states it (CSV)
  std::string taxClass;  // the source's tax class (CSV), empty elsewhere
  int32_t pair = -1;     // adjacent postings of one source row share a number (CSV: debit and credit)
  std::string origin;    // "FILE:LINE" of the posting
};

struct Transaction {
  int32_t date = 0;  // yyyymmdd
  std::string slip;  // the source's slip number or code, empty when it has none
  std::string description;
  std::vector<Posting> postings;
  std::string origin;  // "FILE:LINE" of the transaction
};

// A source hands its books to a sink: each account before the first transaction that names
// it (a stream that learns an account's type from its first posting cannot give them all
// first), and the transactions in date order. A sink's 0 stops the reading; the reader then
// returns 0 with the sink's message.
class BookSink {
 public:
  virtual ~BookSink() = default;
  virtual int Take(const SourceAccount& account, std::string& error) = 0;
  virtual int Take(const Transaction& transaction, std::string& error) = 0;
};

}  // namespace orbeck::import

// The generated company's entries as the books an accountant keeps: a plain-text journal in
// hledger's format (account types declared with type: tags, tax as postings on the
// consumption-tax accounts) and a journal CSV in the common Japanese layout (one row per
// debit/credit pair, amounts tax included with the tax beside them, the rows of a compound
// entry sharing its slip number). Both carry the same books as the host data document.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::bench {

struct Side {
  std::int32_t code = 0;  // 0: the side is empty
  long long amount = 0;   // yen before tax
  long long tax = 0;
};

struct Line {
  Side debit;
  Side credit;
  std::string description;
  int counterKind = 0;
};

// Where an account of the chart stands in the books: "資産:普通預金:北都銀行", with the
// account and sub-account a CSV row names, and hledger's type letter of its top level.
struct BookName {
  std::string path;
  std::string account;
  std::string sub;
};

class JournalText {
 public:
  JournalText(std::ostream* hledger, std::ostream* csv) : hledger_(hledger), csv_(csv) {}

  // Names an account of the chart: `character` (the host's account character) chooses the
  // top level; a sub-account goes under the account `parentCode` already named.
  void Name(std::int32_t code, std::uint32_t character, bool debitNature, const std::string& name,
            std::int32_t parentCode);
  // The top levels with their types, and the CSV's header.
  void Begin();
  void Entry(long slip, std::int32_t date, const std::vector<Line>& lines, std::int32_t paidTax,
             std::int32_t receivedTax);

 private:
  std::ostream* hledger_;
  std::ostream* csv_;
  std::unordered_map<std::int32_t, BookName> names_;
};

}  // namespace velmora::bench

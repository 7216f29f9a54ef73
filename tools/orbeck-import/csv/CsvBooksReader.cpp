// Journal CSV records grouped into entries, checked, sorted by date and handed to the sink.
#include "tools/orbeck-import/csv/CsvBooksReader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <unordered_map>

#include "orbeck/store/Amount.h"
#include "tools/orbeck-import/csv/CsvText.h"
#include "tools/orbeck-import/csv/CsvValues.h"

namespace orbeck::import {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct SideIndexes {
  std::size_t account = kNone, subAccount = kNone, taxClass = kNone, amount = kNone, tax = kNone;
};

struct Indexes {
  std::size_t date = kNone, slip = kNone, kind = kNone, description = kNone;
  SideIndexes debit, credit;
};

class Reader {
 public:
  Reader(const std::string& fileName, const CsvLayout& layout) : file_(fileName), layout_(layout) {}

  int Read(std::string_view bytes, BookSink& sink, std::string& error) {
    std::string text;
    if (!DecodeCsvText(bytes, layout_.encoding, text, error)) {
      error = file_ + ":" + error;
      return 0;
    }
    CsvRecords records(text, layout_.delimiter);
    CsvRecord record;
    auto next = [&] {
      if (records.Next(record, error)) return 1;
      error = file_ + ":" + error;
      return 0;
    };
    if (!next()) return 0;
    if (layout_.header && record.fields.empty()) return Fail(1, "no header record", error);
    if (!Resolve(record, error)) return 0;
    if (layout_.header && !next()) return 0;
    while (!record.fields.empty()) {
      if (!Take(record, error) || !next()) return 0;
    }
    for (const Transaction& entry : entries_)
      if (!Balanced(entry, error)) return 0;
    return Emit(sink, error);
  }

 private:
  std::string file_;
  const CsvLayout& layout_;
  Indexes at_;
  std::vector<Transaction> entries_;
  std::unordered_map<std::string, std::size_t> slips_;  // slip number -> entry
  std::vector<SourceAccount> accounts_;
  std::unordered_map<std::string, std::size_t> accountIndex_;
  bool open_ = false;  // with a kind column: an entry is open for continuing rows

  int Fail(long line, const std::string& message, std::string& error) const {
    error = file_ + ":" + std::to_string(line) + ": " + message;
    return 0;
  }

  static std::string SlipName(const Transaction& entry) {
    return entry.slip.empty() ? std::string("the entry") : "slip '" + entry.slip + "'";
  }

  std::string Origin(long line) const { return file_ + ":" + std::to_string(line); }

  // Column numbers from the map, and from the header record for columns named by it.
  int Resolve(const CsvRecord& header, std::string& error) {
    auto resolve = [&](const CsvColumn& column, std::size_t& index) {
      if (column.number > 0) {
        index = static_cast<std::size_t>(column.number - 1);
        return 1;
      }
      if (column.name.empty()) return 1;
      const std::vector<std::string>& names = header.fields;
      for (std::size_t i = 0; i < names.size(); ++i)
        if (TrimField(names[i]) == column.name) index = i;
      return index != kNone ? 1 : Fail(header.line, "no column '" + column.name + "'", error);
    };
    auto side = [&](const CsvSide& s, SideIndexes& i) {
      return resolve(s.account, i.account) && resolve(s.subAccount, i.subAccount) &&
             resolve(s.taxClass, i.taxClass) && resolve(s.amount, i.amount) && resolve(s.tax, i.tax);
    };
    return resolve(layout_.date, at_.date) && resolve(layout_.slip, at_.slip) &&
           resolve(layout_.kind, at_.kind) && resolve(layout_.description, at_.description) &&
           side(layout_.debit, at_.debit) && side(layout_.credit, at_.credit);
  }

  static std::string Field(const CsvRecord& record, std::size_t index) {
    if (index == kNone || index >= record.fields.size()) return {};
    return std::string(TrimField(record.fields[index]));
  }

  // One side of a record as a posting; `present` false when the side is empty.
  int Side(const CsvRecord& record, const SideIndexes& at, bool debit, Posting& posting, bool& present,
           std::string& error) {
    const std::string account = Field(record, at.account);
    const std::string sub = Field(record, at.subAccount);
    const std::string taxClass = Field(record, at.taxClass);
    const char* name = debit ? "debit" : "credit";
    std::string why;
    int64_t amount = 0, tax = 0;
    if (!ParseCsvAmount(Field(record, at.amount), amount, why) ||
        !ParseCsvAmount(Field(record, at.tax), tax, why))
      return Fail(record.line, std::string(name) + " side: " + why, error);
    present = !account.empty();
    if (!present) {
      if (amount != 0 || tax != 0 || !sub.empty())
        return Fail(record.line, std::string(name) + " side: an amount or sub-account without an account",
                    error);
      return 1;
    }
    if (!taxClass.empty()) {
      const auto known = layout_.taxClasses.find(taxClass);
      if (known == layout_.taxClasses.end())
        return Fail(record.line, std::string(name) + " side: unknown tax class '" + taxClass + "'", error);
      if (!known->second && tax != 0)
        return Fail(record.line,
                    std::string(name) + " side: a tax of " + orbeck::store::FormatAmount(tax) +
                        " under the untaxed class '" + taxClass + "'",
                    error);
    }
    posting.account = sub.empty() ? account : account + ":" + sub;
    posting.amount = debit ? amount : -amount;
    posting.tax = debit ? tax : -tax;
    posting.taxClass = taxClass;
    posting.origin = Origin(record.line);
    if (accountIndex_.emplace(posting.account, accounts_.size()).second)
      accounts_.push_back({posting.account, SourceType::Unknown, posting.origin});
    return 1;
  }

  // The entry a record belongs to, opened when it starts one.
  int EntryOf(const CsvRecord& record, int32_t date, const std::string& slip, Transaction*& entry,
              std::string& error) {
    bool opens = true;
    if (at_.kind != kNone) {
      const std::string kind = Field(record, at_.kind);
      const auto in = [&](const std::vector<std::string>& kinds) {
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
      };
      if (in(layout_.continueKinds)) {
        if (!open_) return Fail(record.line, "row kind '" + kind + "' continues no entry", error);
        opens = false;
      } else if (!in(layout_.startKinds)) {
        return Fail(record.line, "unknown row kind '" + kind + "'", error);
      }
      open_ = true;
    } else if (!slip.empty()) {
      const std::string key = layout_.slipsPerDay ? std::to_string(date) + " " + slip : slip;
      const auto [found, added] = slips_.emplace(key, entries_.size());
      if (!added) {
        entry = &entries_[found->second];
        opens = false;
      }
    }
    if (opens) {
      entries_.emplace_back();
      entry = &entries_.back();
      entry->date = date;
      entry->slip = slip;
      entry->origin = Origin(record.line);
    } else if (at_.kind != kNone) {
      entry = &entries_.back();
    }
    if (entry->date != date)
      return Fail(record.line,
                  SlipName(*entry) + " spans two dates: " + std::to_string(entry->date) + " (from " +
                      entry->origin + ") and " + std::to_string(date),
                  error);
    return 1;
  }

  int Take(const CsvRecord& record, std::string& error) {
    int32_t date = 0;
    std::string why;
    if (!ParseCsvDate(Field(record, at_.date), date, why)) return Fail(record.line, why, error);
    Posting debit, credit;
    bool hasDebit = false, hasCredit = false;
    if (!Side(record, at_.debit, true, debit, hasDebit, error) ||
        !Side(record, at_.credit, false, credit, hasCredit, error))
      return 0;
    Transaction* entry = nullptr;
    if (!EntryOf(record, date, Field(record, at_.slip), entry, error)) return 0;
    const std::string description = Field(record, at_.description);
    if (entry->description.empty()) entry->description = description;
    const int32_t pair = entry->postings.empty() ? 0 : entry->postings.back().pair + 1;
    for (auto [posting, present] : {std::pair{&debit, hasDebit}, std::pair{&credit, hasCredit}}) {
      if (!present) continue;
      posting->pair = pair;
      entry->postings.push_back(std::move(*posting));
    }
    return 1;
  }

  int Balanced(const Transaction& entry, std::string& error) const {
    int64_t debits = 0, credits = 0;
    for (const Posting& p : entry.postings) (p.amount > 0 ? debits : credits) += p.amount;
    if (debits + credits == 0) return 1;
    error = entry.origin + ": " + SlipName(entry) + " does not balance: debits " +
            orbeck::store::FormatAmount(debits) + ", credits " + orbeck::store::FormatAmount(-credits);
    return 0;
  }

  int Emit(BookSink& sink, std::string& error) {
    for (const SourceAccount& account : accounts_)
      if (!sink.Take(account, error)) return 0;
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Transaction& a, const Transaction& b) { return a.date < b.date; });
    for (const Transaction& entry : entries_)
      if (!sink.Take(entry, error)) return 0;
    return 1;
  }
};

}  // namespace

int ReadCsvBooks(std::string_view bytes, const std::string& fileName, const CsvLayout& layout, BookSink& sink,
                 std::string& error) {
  return Reader(fileName, layout).Read(bytes, sink, error);
}

int ReadCsvBooksFile(const std::string& path, const CsvLayout& layout, BookSink& sink, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be opened";
    return 0;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    error = path + ": cannot be read";
    return 0;
  }
  return ReadCsvBooks(bytes, path, layout, sink, error);
}

}  // namespace orbeck::import

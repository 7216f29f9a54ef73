// hledger journal and journal CSV lines of the generated entries, written as they come.
#include "bench/JournalText.h"

namespace velmora::bench {
namespace {

struct Top {
  const char* name;
  const char* type;
};

// The top level by account character: the balance sheet's three parts, then manufacturing
// cost, then the income statement's credit- and debit-nature accounts.
Top TopOf(std::uint32_t character, bool debitNature) {
  if ((character & 0x80000000u) != 0) {
    if ((character & 0x00800000u) != 0) return {"資産", "A"};
    if ((character & 0x00400000u) != 0) return {"負債", "L"};
    return {"純資産", "E"};
  }
  if ((character & 0x40000000u) == 0) return {"製造原価", "X"};
  return debitNature ? Top{"費用", "X"} : Top{"収益", "R"};
}

void Amount(std::ostream& out, long long value) {
  if (value != 0) out << value;
}

}  // namespace

void JournalText::Name(std::int32_t code, std::uint32_t character, bool debitNature, const std::string& name,
                       std::int32_t parentCode) {
  const auto parent = names_.find(parentCode);
  if (parent != names_.end() && parentCode != code) {
    names_[code] = {parent->second.path + ":" + name, parent->second.account, name};
    return;
  }
  names_[code] = {std::string(TopOf(character, debitNature).name) + ":" + name, name, ""};
}

void JournalText::Begin() {
  if (hledger_ != nullptr) {
    for (const char* top : {"資産  ; type: A", "負債  ; type: L", "純資産  ; type: E", "収益  ; type: R",
                            "費用  ; type: X", "製造原価  ; type: X"})
      *hledger_ << "account " << top << '\n';
    *hledger_ << '\n';
  }
  if (csv_ != nullptr) {
    *csv_ << "日付,伝票番号,借方勘定科目,借方補助科目,借方税区分,借方金額,借方税額,"
             "貸方勘定科目,貸方補助科目,貸方税区分,貸方金額,貸方税額,摘要\n";
  }
}

void JournalText::Entry(long slip, std::int32_t date, const std::vector<Line>& lines, std::int32_t paidTax,
                        std::int32_t receivedTax) {
  if (hledger_ != nullptr) {
    std::ostream& out = *hledger_;
    out << date / 10000 << '-' << date / 100 % 100 / 10 << date / 100 % 10 << '-' << date % 100 / 10
        << date % 10 << " (" << slip << ") " << lines.front().description << '\n';
    auto posting = [&](std::int32_t code, long long amount) {
      out << "    " << names_[code].path << "  " << amount << '\n';
    };
    for (const Line& l : lines) {
      if (l.debit.code != 0) posting(l.debit.code, l.debit.amount);
      if (l.debit.tax != 0) posting(paidTax, l.debit.tax);
      if (l.credit.code != 0) posting(l.credit.code, -l.credit.amount);
      if (l.credit.tax != 0) posting(receivedTax, -l.credit.tax);
    }
    out << '\n';
  }
  if (csv_ != nullptr) {
    std::ostream& out = *csv_;
    auto side = [&](const Side& s, const char* taxClass) {
      if (s.code == 0) {
        out << ",,,,,";
        return;
      }
      const BookName& name = names_[s.code];
      out << name.account << ',' << name.sub << ',' << (s.tax != 0 ? taxClass : "") << ',' << s.amount + s.tax
          << ',';
      Amount(out, s.tax);
      out << ',';
    };
    for (const Line& l : lines) {
      out << date / 10000 << '/' << date / 100 % 100 / 10 << date / 100 % 10 << '/' << date % 100 / 10
          << date % 10 << ',' << slip << ',';
      side(l.debit, "課対仕入10%");
      side(l.credit, "課税売上10%");
      out << l.description << '\n';
    }
  }
}

}  // namespace velmora::bench

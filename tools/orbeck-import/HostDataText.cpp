// Writing the host data document: the chart in code order, then the journals.
#include "tools/orbeck-import/HostDataText.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "tools/orbeck-import/YenText.h"

namespace orbeck::import {
namespace {

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Hex(uint32_t character) {
  char text[16];
  std::snprintf(text, sizeof text, "\"0x%08X\"", character);
  return text;
}

struct Row {
  int32_t code = 0;
  std::string name, secondName;
  int kind = 0;
  int debitNature = 0;
  uint32_t character = 0;
  int64_t opening = 0;
  bool balanceRow = true;
  std::vector<int32_t> members;
};

void WriteRow(const Row& row, std::ostream& out) {
  out << "{\"code\":" << row.code << ",\"name\":" << Quote(row.name);
  if (!row.secondName.empty()) out << ",\"secondName\":" << Quote(row.secondName);
  out << ",\"kind\":" << row.kind << ",\"debitNature\":" << row.debitNature
      << ",\"character\":" << Hex(row.character);
  if (row.opening != 0) out << ",\"opening\":\"" << YenText(row.opening) << "\"";
  if (row.kind >= 2) {
    out << ",\"members\":[";
    for (std::size_t i = 0; i < row.members.size(); ++i) out << (i ? "," : "") << row.members[i];
    out << "]";
  }
  out << "}";
}

std::vector<Row> Chart(const ImportedBooks& books) {
  std::vector<Row> rows;
  std::map<int, std::vector<int32_t>> members;  // total number -> member codes
  for (const HostAccount& account : books.accounts) {
    const Section& section = *account.section;
    bool retained = std::string(section.key) == kRetainedKey;
    if (!retained) {
      Row row;
      row.code = account.number * 10000;
      row.name = account.name;
      row.debitNature = section.debitNature;
      row.character = section.character;
      if (IsBalanceSheet(section)) row.opening = section.debitNature ? account.debitSum : -account.debitSum;
      rows.push_back(row);
      members[section.totalNumber].push_back(row.code);
    }
    for (std::size_t i = 0; i < account.subs.size(); ++i) {
      Row sub;
      sub.code = account.number * 10000 + static_cast<int32_t>(i) + 1;
      sub.name = account.subs[i].name;
      sub.debitNature = section.debitNature;
      sub.character = section.character;
      sub.balanceRow = false;
      rows.push_back(sub);
    }
  }
  int64_t retainedDebit = books.retainedDebitSum;
  for (const HostAccount& account : books.accounts)
    if (std::string(account.section->key) == kRetainedKey) retainedDebit += account.debitSum;
  for (const TotalRow& total : TotalRows()) {
    if (total.manufacturing && !books.manufacturing) continue;
    Row row;
    row.code = total.number * 10000;
    row.name = total.name;
    row.secondName = total.secondName;
    row.kind = total.kind;
    row.debitNature = total.debitNature;
    row.character = total.character;
    for (int number : total.totals) {
      bool present = false;
      for (const TotalRow& other : TotalRows())
        present = present || (other.number == number && (!other.manufacturing || books.manufacturing));
      if (present) row.members.push_back(number * 10000);
    }
    for (int32_t code : members[total.number]) row.members.push_back(code);
    if (total.number == kRetainedNumber) row.opening = -retainedDebit;
    rows.push_back(row);
  }
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.code < b.code; });
  return rows;
}

void WriteSide(const char* side, const LineSide& s, std::ostream& out) {
  out << "\"" << side << "\":" << s.code << ",\"" << side << "Amount\":\"" << YenText(s.amount) << "\"";
  if (s.tax != 0) out << ",\"" << side << "Tax\":\"" << YenText(s.tax) << "\"";
  out << ",";
}

}  // namespace

void WriteHostDataText(const ImportedBooks& books, const Company& company, std::ostream& out) {
  out << "{\"format\":\"orbeck-host-data\",\"version\":1,\"packageName\":\"Orbeck２１\",\"expSysLink\":0,\n"
         "\"folders\":{\"0\":\"Users\\\\Public\\\\Documents\\\\Orbeck\\\\Out\\\\\",\"1\":\"Settings\\\\\"},\n"
      << "\"users\":[{\"id\":" << Quote(company.user)
      << ",\"selectedFirst\":1,\"selectedNo\":1}],\"currentUser\":" << Quote(company.user) << ",\n"
      << "\"eras\":[{\"no\":1,\"firstDay\":18680125,\"name\":\"明治\"},{\"no\":2,\"firstDay\":19120730,"
         "\"name\":\"大正\"},"
         "{\"no\":3,\"firstDay\":19261225,\"name\":\"昭和\"},{\"no\":4,\"firstDay\":19890108,\"name\":"
         "\"平成\"},"
         "{\"no\":5,\"firstDay\":20190501,\"name\":\"令和\"}],\n"
      << "\"data\":[{\"dataId\":" << Quote(company.dataId)
      << ",\"selectedNo\":1,\"companyName\":" << Quote(company.name)
      << ",\"periodStart\":" << company.periodStart << ",\"periodEnd\":" << company.periodEnd
      << ",\"closingDay\":" << company.closingDay << ",\"patternFlag\":" << (books.manufacturing ? 1 : 0);
  if (company.taxBasis != TaxBasis::None)
    out << ",\"tax\":{\"method\":0,\"amountBasis\":" << (company.taxBasis == TaxBasis::Included ? 1 : 0)
        << "}";
  out << ",\n\"accounts\":[\n";
  std::vector<Row> rows = Chart(books);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    WriteRow(rows[i], out);
    out << (i + 1 < rows.size() ? ",\n" : "\n");
  }
  out << "],\n\"journals\":[\n";
  int32_t id = 0;
  for (const BookedTransaction& transaction : books.transactions) {
    std::vector<HostLine> lines = JournalLines(books, transaction);
    if (lines.empty()) continue;
    out << (id == 0 ? "" : ",\n");
    ++id;
    out << "{\"id\":" << id << ",\"date\":" << transaction.date << ",\"lines\":[";
    std::string description = Quote(transaction.description);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      out << (i ? "," : "") << "{";
      if (lines[i].debit.code != 0) WriteSide("debit", lines[i].debit, out);
      if (lines[i].credit.code != 0) WriteSide("credit", lines[i].credit, out);
      out << "\"description\":" << description << ",\"counterKind\":" << lines[i].counterKind << "}";
    }
    out << "]}";
  }
  out << "\n]}]}\n";
}

}  // namespace orbeck::import

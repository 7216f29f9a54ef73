// The generated company: the demo chart widened with sub-accounts, then one journal after
// another written straight to the stream (a million lines never sit in memory). Every
// journal balances, tax included, so the reference tool accepts the plain-text journal.
#include "bench/CompanyGenerator.h"

#include "bench/JournalText.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string_view>
#include <vector>

namespace velmora::bench {
namespace {

constexpr std::uint32_t kPaidTax = 0x80880810;      // 仮払消費税
constexpr std::uint32_t kReceivedTax = 0x80484010;  // 仮受消費税

struct Account {
  std::int32_t code = 0;
  bool debitNature = false;
  bool profitAndLoss = false;  // income statement or manufacturing cost
};

std::uint32_t CharacterOf(const nlohmann::json& account) {
  const nlohmann::json& c = account.at("character");
  return c.is_string() ? static_cast<std::uint32_t>(std::stoul(c.get<std::string>(), nullptr, 16))
                       : c.get<std::uint32_t>();
}

std::int32_t ShiftDays(std::int32_t yyyymmdd, int days) {
  using namespace std::chrono;
  year_month_day from{year{yyyymmdd / 10000}, month{static_cast<unsigned>(yyyymmdd / 100 % 100)},
                      day{static_cast<unsigned>(yyyymmdd % 100)}};
  year_month_day to{sys_days(from) + std::chrono::days(days)};
  return static_cast<std::int32_t>(int(to.year()) * 10000 + unsigned(to.month()) * 100 + unsigned(to.day()));
}

// The last day of the sixth month of a period that starts on the first of a month.
std::int32_t SixthMonthEnd(std::int32_t periodStart) {
  int year = periodStart / 10000;
  int month = periodStart / 100 % 100 + 6;
  if (month > 12) {
    month -= 12;
    ++year;
  }
  return ShiftDays(year * 10000 + month * 100 + 1, -1);
}

class Generator {
 public:
  Generator(const CompanyOptions& options, std::ostream& json, const JournalOutputs& outputs)
      : options_(options),
        json_(json),
        journal_(outputs.ledger),
        books_(outputs.hledger, outputs.csv),
        random_(options.seed) {}

  bool PrepareChart(nlohmann::json& accounts, std::string& error) {
    std::vector<std::size_t> parents;
    std::vector<int> nextSub;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      const nlohmann::json& a = accounts[i];
      const std::uint32_t character = CharacterOf(a);
      const std::int32_t code = a.at("code").get<std::int32_t>();
      if (a.at("kind").get<int>() == 0)
        books_.Name(code, character, a.at("debitNature").get<int>() == 1, a.at("name").get<std::string>(),
                    code / 10000 * 10000);
      if (character == kPaidTax) paidTax_ = code;
      if (character == kReceivedTax) receivedTax_ = code;
      if (a.at("kind").get<int>() != 0 || character == kPaidTax || character == kReceivedTax) continue;
      Account account{code, a.at("debitNature").get<int>() == 1, (character & 0x80000000u) == 0};
      postable_.push_back(account);
      if (code % 10000 == 0) {
        parents.push_back(i);
        nextSub.push_back(101);
      }
    }
    if (paidTax_ == 0 || receivedTax_ == 0 || parents.empty()) {
      error = "the demo chart lacks the consumption-tax accounts or postable accounts";
      return false;
    }
    const std::size_t demoAccounts = accounts.size();
    for (std::size_t n = 0; static_cast<long>(demoAccounts + n) < options_.accounts; ++n) {
      const std::size_t slot = n % parents.size();
      const nlohmann::json parent = accounts[parents[slot]];
      const int number = nextSub[slot]++;
      char name[32];
      std::snprintf(name, sizeof name, "%s%04d", parent.at("debitNature").get<int>() == 1 ? "補助" : "取引先",
                    number);
      const std::int32_t code = parent.at("code").get<std::int32_t>() + number;
      accounts.push_back({{"code", code},
                          {"name", name},
                          {"kind", 0},
                          {"debitNature", parent.at("debitNature")},
                          {"character", parent.at("character")},
                          {"balanceRow", false}});
      postable_.push_back(
          {code, parent.at("debitNature").get<int>() == 1, (CharacterOf(parent) & 0x80000000u) == 0});
      books_.Name(code, CharacterOf(parent), parent.at("debitNature").get<int>() == 1, name,
                  parent.at("code").get<std::int32_t>());
    }
    for (const Account& a : postable_) {
      if (a.profitAndLoss) (a.debitNature ? expenses_ : revenues_).push_back(a.code);
      if (!a.profitAndLoss) (a.debitNature ? assets_ : liabilities_).push_back(a.code);
    }
    counts_.accounts = static_cast<int>(accounts.size());
    return !expenses_.empty() && !revenues_.empty() && !assets_.empty() && !liabilities_.empty();
  }

  void WriteJournals(std::int32_t periodStart, std::int32_t periodEnd) {
    const long total = options_.journals;
    // The adjustment journals of the year: a few of each kind, at least two.
    const long adjustments = std::max(2L, total / 200);
    const std::int32_t interimDay = SixthMonthEnd(periodStart);
    int days = 0;
    while (ShiftDays(periodStart, days) < periodEnd) ++days;
    long id = 0;
    books_.Begin();
    json_ << '[';
    auto emit = [&](std::int32_t date, int adjustment, const std::vector<Line>& lines) {
      WriteJournal(++id, date, adjustment, lines);
    };
    const long ordinary = total - adjustments - (options_.interimClosing ? adjustments : 0);
    for (long j = 0; j < ordinary; ++j) {
      const std::int32_t date =
          ShiftDays(periodStart, static_cast<int>(j * (days + 1) / std::max(1L, ordinary)));
      emit(date, 0, OrdinaryEntry(id + 1, date));
      if (options_.interimClosing && date >= interimDay && interimWritten_ < adjustments) {
        for (; interimWritten_ < adjustments; ++interimWritten_)
          emit(interimDay, 14, Transfer(id + 1, "中間決算整理"));
      }
    }
    for (; options_.interimClosing && interimWritten_ < adjustments; ++interimWritten_)
      emit(interimDay, 14, Transfer(id + 1, "中間決算整理"));
    for (long k = 0; k < adjustments; ++k) emit(periodEnd, 13, Transfer(id + 1, "決算整理"));
    json_ << ']';
    counts_.journals = id;
  }

  const CompanyCounts& Counts() const { return counts_; }

 private:
  const CompanyOptions& options_;
  std::ostream& json_;
  std::ostream* journal_;
  JournalText books_;
  std::mt19937 random_;
  std::vector<Account> postable_;
  std::vector<std::int32_t> expenses_, revenues_, assets_, liabilities_;
  std::int32_t paidTax_ = 0;
  std::int32_t receivedTax_ = 0;
  long interimWritten_ = 0;
  CompanyCounts counts_;

  long Uniform(long low, long high) { return std::uniform_int_distribution<long>(low, high)(random_); }
  std::int32_t Pick(const std::vector<std::int32_t>& from) {
    return from[static_cast<std::size_t>(Uniform(0, static_cast<long>(from.size()) - 1))];
  }
  long long Amount() { return Uniform(1, 5000) * 1000LL; }

  std::string Describe(long id, std::int32_t date, std::string_view what) {
    static const char* const kParties[] = {"東邦機工", "三協製作所", "中部精密工業",
                                           "大和鋼材", "日東化成",   "北都銀行"};
    char text[96];
    std::snprintf(text, sizeof text, "%s %d月分 %.*s 伝票%ld", kParties[Uniform(0, 5)], date / 100 % 100,
                  static_cast<int>(what.size()), what.data(), id);
    return text;
  }

  std::vector<Line> Transfer(long id, std::string_view what) {
    const long long amount = Amount();
    return {{{Pick(assets_), amount, 0}, {Pick(liabilities_), amount, 0}, Describe(id, 0, what), 0}};
  }

  std::vector<Line> OrdinaryEntry(long id, std::int32_t date) {
    const long kind = Uniform(0, 99);
    const long long net = Amount();
    const long long tax = Uniform(0, 9) < 6 ? net / 10 : 0;
    if (options_.linesOnTaxAccounts && kind < 3) {
      // Lines on the tax accounts themselves, which carry no tax of their own: on either
      // side, and the settlement of a tax account against another account.
      if (kind == 0)
        return {{{paidTax_, net, 0}, {Pick(assets_), net, 0}, Describe(id, date, "仮払消費税 調整"), 0}};
      if (kind == 1)
        return {{{Pick(assets_), net, 0}, {receivedTax_, net, 0}, Describe(id, date, "仮受消費税 調整"), 0}};
      return {{{receivedTax_, net, 0}, {paidTax_, net, 0}, Describe(id, date, "消費税 振替"), 0}};
    }
    if (kind < 25)
      return {{{Pick(assets_), net + tax, 0}, {Pick(revenues_), net, tax}, Describe(id, date, "売上"), 0}};
    if (kind < 60)
      return {{{Pick(expenses_), net, tax},
               {Pick(liabilities_), net + tax, 0},
               Describe(id, date, "仕入・経費"),
               0}};
    if (kind < 75) return Transfer(id, "資金移動");
    // A compound entry: two debits, one of them taxed, and one credit of the whole.
    const long long other = Amount();
    return {{{Pick(expenses_), net, tax}, {}, Describe(id, date, "給与・経費 振替"), 34},
            {{Pick(expenses_), other, 0}, {}, Describe(id, date, "給与・経費 振替"), 34},
            {{}, {Pick(assets_), net + tax + other, 0}, Describe(id, date, "普通預金 振込"), 34}};
  }

  void WriteSide(const char* name, const Side& side) {
    if (side.code == 0) return;
    json_ << ",\"" << name << "\":" << side.code << ",\"" << name << "Amount\":\"" << side.amount << "\",\""
          << name << "Tax\":\"" << side.tax << '"';
  }

  void WriteJournal(long id, std::int32_t date, int adjustment, const std::vector<Line>& lines) {
    json_ << (id > 1 ? ",\n" : "\n") << "{\"id\":" << id << ",\"date\":" << date
          << ",\"adjustment\":" << adjustment << ",\"lines\":[";
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const Line& l = lines[k];
      json_ << (k > 0 ? ",{" : "{") << "\"counterKind\":" << l.counterKind << ",\"description\":\""
            << l.description << '"';
      WriteSide("debit", l.debit);
      WriteSide("credit", l.credit);
      json_ << '}';
    }
    json_ << "]}";
    counts_.lines += static_cast<long>(lines.size());
    books_.Entry(id, date, lines, paidTax_, receivedTax_);
    if (journal_ == nullptr) return;
    *journal_ << date / 10000 << '/' << date / 100 % 100 << '/' << date % 100 << " * "
              << lines.front().description << '\n';
    for (const Line& l : lines) {
      if (l.debit.code != 0) *journal_ << "    A" << l.debit.code << "  " << l.debit.amount << '\n';
      if (l.debit.tax != 0) *journal_ << "    A" << paidTax_ << "  " << l.debit.tax << '\n';
      if (l.credit.code != 0) *journal_ << "    A" << l.credit.code << "  " << -l.credit.amount << '\n';
      if (l.credit.tax != 0) *journal_ << "    A" << receivedTax_ << "  " << -l.credit.tax << '\n';
    }
    *journal_ << '\n';
  }
};

}  // namespace

bool WriteCompany(const nlohmann::json& demo, const CompanyOptions& options, std::ostream& json,
                  const JournalOutputs& outputs, CompanyCounts& counts, std::string& error) {
  try {
    nlohmann::json document = demo;
    nlohmann::json& data = document.at("data").at(0);
    Generator generator(options, json, outputs);
    if (!generator.PrepareChart(data.at("accounts"), error)) return false;
    data["interimClosing"] = options.interimClosing ? 1 : 0;
    data["journals"] = nlohmann::json::array();
    const std::int32_t periodStart = data.at("periodStart").get<std::int32_t>();
    const std::int32_t periodEnd = data.at("periodEnd").get<std::int32_t>();
    // The journals are spliced in where the empty list stands.
    const std::string text = document.dump(-1, ' ', false);
    const std::string placeholder = "\"journals\":[]";
    const std::size_t at = text.find(placeholder);
    if (at == std::string::npos) {
      error = "no journal list in the document";
      return false;
    }
    json << text.substr(0, at) << "\"journals\":";
    generator.WriteJournals(periodStart, periodEnd);
    json << text.substr(at + placeholder.size()) << '\n';
    counts = generator.Counts();
    return static_cast<bool>(json);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

}  // namespace velmora::bench

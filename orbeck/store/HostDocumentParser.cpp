// The document validator: one pass over the JSON, building the records as it goes.
#include "orbeck/store/HostDocumentParser.h"

#include <cctype>
#include <istream>
#include <iterator>
#include <limits>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include <rapidjson/reader.h>

#include "orbeck/store/JournalEvents.h"
#include "orbeck/store/JournalSink.h"
#include "orbeck/store/JsonReader.h"

namespace orbeck::store {
namespace {

using nlohmann::json;
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// Byte limits of the host's fixed text fields.
constexpr std::size_t kNameBytes = 30;
constexpr std::size_t kDescriptionBytes = 60;
constexpr std::size_t kCompanyBytes = 259;
constexpr std::size_t kUserIdBytes = 64;
constexpr std::size_t kDataIdBytes = 15;
constexpr std::size_t kEraNameBytes = 15;
constexpr std::size_t kPathBytes = 260;
constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

// Account numbers of the host: the code divided by 10000.
constexpr int64_t kFirstAccountCode = 10000;    // account 1
constexpr int64_t kLastAccountCode = 99999999;  // account 9999, sub-account 9999

class Parser {
 public:
  int Run(const json& doc, HostDocument& out, std::string& error) {
    ParseRoot(doc, out);
    if (r_.Failed()) {
      error = r_.Error();
      return 0;
    }
    return 1;
  }

  // The journals of data record `dataIndex` arrive one by one while the document is read,
  // before the rest of the record is known: each is checked on its own here, and against
  // the record's accounts and period once the record is complete.
  // Each journal valid on its own also goes to the sink, if any, with the record's id as
  // read so far (`dataId`, null when not read yet).
  bool StreamJournal(const json& j, std::size_t dataIndex, std::size_t journalIndex,
                     const std::string* dataId) {
    JournalRecord journal;
    std::string ptr = JsonReader::Child(JsonReader::Child("/data", dataIndex) + "/journals", journalIndex);
    if (!ParseJournal(j, ptr, journal)) return false;
    StreamJournalRecord(std::move(journal), dataIndex, dataId);
    return true;
  }
  // A journal already found valid on its own.
  void StreamJournalRecord(JournalRecord&& journal, std::size_t dataIndex, const std::string* dataId) {
    if (streamed_.size() <= dataIndex) streamed_.resize(dataIndex + 1);
    streamed_[dataIndex].push_back(std::move(journal));
    if (sink_ != nullptr) sink_->Take(dataIndex, dataId, streamed_[dataIndex].back());
  }
  void SetSink(JournalSink* sink) { sink_ = sink; }
  void StreamingStarted() { streaming_ = true; }
  bool Fail(const std::string& pointer, const std::string& message) { return r_.Fail(pointer, message); }
  const std::string& Error() const { return r_.Error(); }

 private:
  JsonReader r_;
  bool streaming_ = false;
  JournalSink* sink_ = nullptr;
  std::vector<std::vector<JournalRecord>> streamed_;  // by data index
  std::size_t dataIndex_ = 0;                         // the data record being parsed

  template <typename T>
  bool Int(const json& obj, const std::string& ptr, std::string_view name, bool required, int64_t min,
           int64_t max, T& out) {
    const json* v = r_.Member(obj, ptr, name, required);
    if (v == nullptr) return !r_.Failed();
    int64_t value = 0;
    if (!r_.Integer(*v, JsonReader::Child(ptr, name), min, max, value)) return false;
    out = static_cast<T>(value);
    return true;
  }

  bool Str(const json& obj, const std::string& ptr, std::string_view name, bool required,
           std::size_t maxBytes, std::string& out) {
    const json* v = r_.Member(obj, ptr, name, required);
    if (v == nullptr) return !r_.Failed();
    return r_.Text(*v, JsonReader::Child(ptr, name), maxBytes, out);
  }

  bool Amt(const json& obj, const std::string& ptr, std::string_view name, int64_t& out) {
    const json* v = r_.Member(obj, ptr, name, false);
    if (v == nullptr) return !r_.Failed();
    return r_.Amount(*v, JsonReader::Child(ptr, name), out);
  }

  void ParseRoot(const json& doc, HostDocument& out) {
    const std::string root;
    if (!r_.Object(doc, root,
                   {"format", "version", "packageName", "expSysLink", "folders", "users", "currentUser",
                    "eras", "data"})) {
      return;
    }
    const json* format = r_.Member(doc, root, "format", true);
    if (format != nullptr && (!format->is_string() || *format != "orbeck-host-data")) {
      r_.Fail("/format", "must be \"orbeck-host-data\"");
    }
    int version = 0;
    Int(doc, root, "version", true, 1, 1, version);
    Str(doc, root, "packageName", true, kPathBytes, out.packageName);
    Int(doc, root, "expSysLink", false, kInt32Min, kInt32Max, out.expSysLink);
    ParseFolders(doc, out);
    ParseUsers(doc, out);
    ParseEras(doc, out);
    ParseData(doc, out);
  }

  // Folder kinds are open-ended numbers, so members are read by key instead of by name.
  void ParseFolders(const json& doc, HostDocument& out) {
    const json* folders = r_.Member(doc, "", "folders", true);
    if (folders == nullptr) return;
    if (!folders->is_object()) {
      r_.Fail("/folders", "must be an object");
      return;
    }
    for (const auto& item : folders->items()) {
      std::string ptr = JsonReader::Child("/folders", item.key());
      int64_t kind = 0;
      std::string path;
      if (!r_.KeyNumber(item.key(), ptr, kind) || !r_.Text(item.value(), ptr, kPathBytes, path)) return;
      out.folders[kind] = path;
    }
  }

  void ParseUsers(const json& doc, HostDocument& out) {
    const json* users = r_.Member(doc, "", "users", true);
    if (users == nullptr || !r_.Array(*users, "/users")) return;
    std::set<std::string> ids;
    for (std::size_t i = 0; i < users->size(); ++i) {
      std::string ptr = JsonReader::Child("/users", i);
      const json& u = (*users)[i];
      UserRecord user;
      if (!r_.Object(u, ptr, {"id", "selectedFirst", "selectedNo"}) ||
          !Str(u, ptr, "id", true, kUserIdBytes, user.id) ||
          !Int(u, ptr, "selectedFirst", true, kInt32Min, kInt32Max, user.selectedFirst) ||
          !Int(u, ptr, "selectedNo", true, kInt32Min, kInt32Max, user.selectedNo)) {
        return;
      }
      if (user.id.empty()) {
        r_.Fail(ptr + "/id", "must not be empty");
        return;
      }
      // The id names a line of the settings file and a part of paths: no control
      // characters, no path or drive separators.
      for (char c : user.id) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '/' || c == ':') {
          r_.Fail(ptr + "/id", "must not contain control characters, '/' or ':'");
          return;
        }
      }
      if (!ids.insert(user.id).second) {
        r_.Fail(ptr + "/id", "duplicate user id");
        return;
      }
      out.users.push_back(user);
    }
    if (!Str(doc, "", "currentUser", true, kUserIdBytes, out.currentUser)) return;
    if (!ids.contains(out.currentUser)) r_.Fail("/currentUser", "names no user of /users");
  }

  void ParseEras(const json& doc, HostDocument& out) {
    const json* eras = r_.Member(doc, "", "eras", true);
    if (eras == nullptr || !r_.Array(*eras, "/eras")) return;
    std::set<int32_t> numbers;
    std::set<int32_t> firstDays;
    for (std::size_t i = 0; i < eras->size(); ++i) {
      std::string ptr = JsonReader::Child("/eras", i);
      const json& e = (*eras)[i];
      EraRecord era;
      if (!r_.Object(e, ptr, {"no", "firstDay", "name"}) ||
          !Int(e, ptr, "no", true, kInt32Min, kInt32Max, era.no) ||
          !Str(e, ptr, "name", true, kEraNameBytes, era.name)) {
        return;
      }
      const json* firstDay = r_.Member(e, ptr, "firstDay", true);
      if (firstDay == nullptr || !r_.Date(*firstDay, ptr + "/firstDay", era.firstDay)) return;
      if (!numbers.insert(era.no).second) {
        r_.Fail(ptr + "/no", "duplicate era number");
        return;
      }
      if (!firstDays.insert(era.firstDay).second) {
        r_.Fail(ptr + "/firstDay", "duplicate era first day");
        return;
      }
      out.eras.push_back(era);
    }
  }

  void ParseData(const json& doc, HostDocument& out) {
    const json* data = r_.Member(doc, "", "data", true);
    if (data == nullptr || !r_.Array(*data, "/data")) return;
    std::set<std::string> ids;
    std::set<int32_t> numbers;
    for (std::size_t i = 0; i < data->size() && !r_.Failed(); ++i) {
      std::string ptr = JsonReader::Child("/data", i);
      DataRecord record;
      dataIndex_ = i;
      if (!ParseDataRecord((*data)[i], ptr, record)) return;
      if (!ids.insert(record.dataId).second) {
        r_.Fail(ptr + "/dataId", "duplicate data id");
        return;
      }
      if (!numbers.insert(record.selectedNo).second) {
        r_.Fail(ptr + "/selectedNo", "duplicate selected number");
        return;
      }
      out.data.push_back(std::move(record));
    }
  }

  bool ParseDataRecord(const json& d, const std::string& ptr, DataRecord& out) {
    if (!r_.Object(d, ptr,
                   {"dataId", "selectedNo", "companyName", "periodStart", "periodEnd", "closingDay",
                    "patternFlag", "interimClosing", "introMonthIndex", "companiesActReady", "tax",
                    "accounts", "journals", "savedDocuments"})) {
      return false;
    }
    if (!Str(d, ptr, "dataId", true, kDataIdBytes, out.dataId)) return false;
    bool printable = !out.dataId.empty();
    for (char c : out.dataId) printable = printable && c > 0x20 && c < 0x7f;
    if (!printable) return r_.Fail(ptr + "/dataId", "must be 1 to 15 printable ASCII characters");
    const json* start = r_.Member(d, ptr, "periodStart", true);
    const json* end = r_.Member(d, ptr, "periodEnd", true);
    if (start == nullptr || end == nullptr) return false;
    if (!Int(d, ptr, "selectedNo", true, kInt32Min, kInt32Max, out.selectedNo) ||
        !Str(d, ptr, "companyName", true, kCompanyBytes, out.companyName) ||
        !r_.Date(*start, ptr + "/periodStart", out.periodStart) ||
        !r_.Date(*end, ptr + "/periodEnd", out.periodEnd) ||
        !Int(d, ptr, "closingDay", false, 1, 31, out.closingDay) ||
        !Int(d, ptr, "patternFlag", false, kInt32Min, kInt32Max, out.patternFlag) ||
        !Int(d, ptr, "interimClosing", false, kInt32Min, kInt32Max, out.interimClosing) ||
        !Int(d, ptr, "introMonthIndex", false, -32768, 32767, out.introMonthIndex) ||
        !Int(d, ptr, "companiesActReady", false, 0, 255, out.companiesActReady)) {
      return false;
    }
    if (out.periodStart >= out.periodEnd) return r_.Fail(ptr + "/periodEnd", "must follow periodStart");
    if (const json* tax = r_.Member(d, ptr, "tax", false)) {
      std::string taxPtr = ptr + "/tax";
      if (!r_.Object(*tax, taxPtr, {"method", "amountBasis"}) ||
          !Int(*tax, taxPtr, "method", true, kInt32Min, kInt32Max, out.taxMethod) ||
          !Int(*tax, taxPtr, "amountBasis", true, 0, 255, out.amountBasis)) {
        return false;
      }
      out.hasTaxSettings = true;
    }
    return ParseAccounts(d, ptr, out) && ParseJournals(d, ptr, out) && ParseSavedDocuments(d, ptr, out);
  }

  bool ParseCharacter(const json& v, const std::string& ptr, uint32_t& out) {
    if (v.is_string()) {
      const auto& s = v.get_ref<const std::string&>();
      bool hex = s.size() > 2 && s.size() <= 10 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
      for (std::size_t i = 2; hex && i < s.size(); ++i)
        hex = std::isxdigit(static_cast<unsigned char>(s[i])) != 0;
      if (!hex) return r_.Fail(ptr, "account character must be hex such as \"0x80880000\" or an integer");
      out = static_cast<uint32_t>(std::stoul(s.substr(2), nullptr, 16));
      return true;
    }
    int64_t value = 0;
    if (!r_.Integer(v, ptr, 0, 0xFFFFFFFFLL, value)) return false;
    out = static_cast<uint32_t>(value);
    return true;
  }

  bool ParseSums(const json& v, const std::string& ptr, BalanceSums& out) {
    if (!r_.Object(v, ptr, {"set1", "set2"})) return false;
    const char* setNames[2] = {"set1", "set2"};
    const char* sideNames[2] = {"debit", "credit"};
    for (int set = 0; set < 2; ++set) {
      const json* s = r_.Member(v, ptr, setNames[set], true);
      std::string setPtr = JsonReader::Child(ptr, setNames[set]);
      if (s == nullptr || !r_.Object(*s, setPtr, {"debit", "credit"})) return false;
      for (int side = 0; side < 2; ++side) {
        const json* a = r_.Member(*s, setPtr, sideNames[side], true);
        std::string arrPtr = JsonReader::Child(setPtr, sideNames[side]);
        if (a == nullptr || !r_.Array(*a, arrPtr)) return false;
        if (a->size() != kEntries) return r_.Fail(arrPtr, "must hold exactly 15 amounts");
        for (int e = 0; e < kEntries; ++e) {
          if (!r_.Amount((*a)[static_cast<std::size_t>(e)],
                         JsonReader::Child(arrPtr, static_cast<std::size_t>(e)), out.At(set, side, e))) {
            return false;
          }
        }
      }
    }
    return true;
  }

  bool ParseAccounts(const json& d, const std::string& dataPtr, DataRecord& out) {
    const json* accounts = r_.Member(d, dataPtr, "accounts", true);
    std::string listPtr = dataPtr + "/accounts";
    if (accounts == nullptr || !r_.Array(*accounts, listPtr)) return false;
    std::map<int32_t, std::size_t> byCode;
    for (std::size_t i = 0; i < accounts->size(); ++i) {
      const json& a = (*accounts)[i];
      std::string ptr = JsonReader::Child(listPtr, i);
      AccountRecord acc;
      if (!r_.Object(a, ptr,
                     {"code", "name", "secondName", "kind", "debitNature", "character", "flags", "balanceRow",
                      "opening", "sums", "members"}) ||
          !Int(a, ptr, "code", true, kFirstAccountCode, kLastAccountCode, acc.code) ||
          !Str(a, ptr, "name", true, kNameBytes, acc.name) ||
          !Str(a, ptr, "secondName", false, kNameBytes, acc.secondName) ||
          !Int(a, ptr, "kind", true, 0, 3, acc.kind) ||
          !Int(a, ptr, "debitNature", true, 0, 1, acc.debitNature)) {
        return false;
      }
      const json* character = r_.Member(a, ptr, "character", true);
      if (character == nullptr || !ParseCharacter(*character, ptr + "/character", acc.character))
        return false;
      if (const json* flags = r_.Member(a, ptr, "flags", false)) {
        if (!r_.Array(*flags, ptr + "/flags")) return false;
        if (flags->size() != 2) return r_.Fail(ptr + "/flags", "must hold two flag bytes");
        int64_t fa = 0;
        int64_t fb = 0;
        if (!r_.Integer((*flags)[0], ptr + "/flags/0", 0, 255, fa) ||
            !r_.Integer((*flags)[1], ptr + "/flags/1", 0, 255, fb)) {
          return false;
        }
        acc.flagA = static_cast<int>(fa);
        acc.flagB = static_cast<int>(fb);
      }
      acc.balanceRow = acc.code % 10000 == 0;
      if (const json* b = r_.Member(a, ptr, "balanceRow", false)) {
        if (!r_.Boolean(*b, ptr + "/balanceRow", acc.balanceRow)) return false;
      }
      if (const json* o = r_.Member(a, ptr, "opening", false)) {
        if (!acc.balanceRow) return r_.Fail(ptr + "/opening", "only balance rows have an opening");
        int64_t opening = 0;
        if (!r_.Amount(*o, ptr + "/opening", opening)) return false;
        acc.opening = opening;
      }
      if (const json* s = r_.Member(a, ptr, "sums", false)) {
        if (!acc.balanceRow) return r_.Fail(ptr + "/sums", "only balance rows have sums");
        BalanceSums sums;
        if (!ParseSums(*s, ptr + "/sums", sums)) return false;
        acc.explicitSums = sums;
      }
      if (const json* m = r_.Member(a, ptr, "members", false)) {
        if (acc.kind != 2 && acc.kind != 3)
          return r_.Fail(ptr + "/members", "only total rows (kind 2 or 3) have members");
        if (!r_.Array(*m, ptr + "/members")) return false;
        for (std::size_t k = 0; k < m->size(); ++k) {
          int64_t code = 0;
          if (!r_.Integer((*m)[k], JsonReader::Child(ptr + "/members", k), 1, kInt32Max, code)) return false;
          acc.members.push_back(static_cast<int32_t>(code));
        }
      }
      if (r_.Failed()) return false;
      if (!byCode.emplace(acc.code, i).second) return r_.Fail(ptr + "/code", "duplicate account code");
      out.accounts.push_back(std::move(acc));
    }
    for (std::size_t i = 0; i < out.accounts.size(); ++i) {
      const AccountRecord& acc = out.accounts[i];
      std::string ptr = JsonReader::Child(listPtr, i);
      if (acc.code % 10000 != 0 && !byCode.contains(acc.code - acc.code % 10000)) {
        return r_.Fail(ptr + "/code", "sub-account without its parent account " +
                                          std::to_string(acc.code - acc.code % 10000));
      }
      for (std::size_t k = 0; k < acc.members.size(); ++k) {
        auto it = byCode.find(acc.members[k]);
        std::string memberPtr = JsonReader::Child(ptr + "/members", k);
        if (it == byCode.end())
          return r_.Fail(memberPtr, "unknown account code " + std::to_string(acc.members[k]));
        if (!out.accounts[it->second].balanceRow) return r_.Fail(memberPtr, "member is not a balance row");
      }
    }
    return true;
  }

  // A side's code, amount and tax; a side without an account carries neither.
  bool ParseSide(const json& line, const std::string& ptr, const char* codeName, const char* amountName,
                 const char* taxName, int32_t& code, int64_t& amount, int64_t& tax) {
    if (!Int(line, ptr, codeName, false, 0, kInt32Max, code) || !Amt(line, ptr, amountName, amount) ||
        !Amt(line, ptr, taxName, tax)) {
      return false;
    }
    if (code == 0) {
      if (amount != 0)
        return r_.Fail(JsonReader::Child(ptr, amountName), "amount on a side without an account");
      if (tax != 0) return r_.Fail(JsonReader::Child(ptr, taxName), "tax on a side without an account");
    }
    return true;
  }

  // One journal as it stands, without what needs its data record (period, accounts).
  bool ParseJournal(const json& j, const std::string& ptr, JournalRecord& journal) {
    if (!r_.Object(j, ptr, {"id", "date", "adjustment", "lines"}) ||
        !Int(j, ptr, "id", true, 1, kInt32Max, journal.id)) {
      return false;
    }
    const json* date = r_.Member(j, ptr, "date", true);
    if (date == nullptr || !r_.Date(*date, ptr + "/date", journal.date) ||
        !Int(j, ptr, "adjustment", false, 0, 14, journal.adjustment)) {
      return false;
    }
    if (journal.adjustment != 0 && journal.adjustment != 13 && journal.adjustment != 14) {
      return r_.Fail(ptr + "/adjustment", "must be 0, 13 (year-end) or 14 (interim)");
    }
    const json* lines = r_.Member(j, ptr, "lines", true);
    if (lines == nullptr || !r_.Array(*lines, ptr + "/lines")) return false;
    if (lines->empty()) return r_.Fail(ptr + "/lines", "a journal needs at least one line");
    journal.lines.reserve(lines->size());
    for (std::size_t k = 0; k < lines->size(); ++k) {
      const json& l = (*lines)[k];
      std::string linePtr = JsonReader::Child(ptr + "/lines", k);
      JournalLineRecord line;
      if (!r_.Object(l, linePtr,
                     {"debit", "debitAmount", "debitTax", "credit", "creditAmount", "creditTax",
                      "description", "counterKind"}) ||
          !ParseSide(l, linePtr, "debit", "debitAmount", "debitTax", line.debitCode, line.debitAmount,
                     line.debitTax) ||
          !ParseSide(l, linePtr, "credit", "creditAmount", "creditTax", line.creditCode, line.creditAmount,
                     line.creditTax) ||
          !Str(l, linePtr, "description", false, kDescriptionBytes, line.description) ||
          !Int(l, linePtr, "counterKind", false, 0, 255, line.counterKind)) {
        return false;
      }
      if (line.debitCode == 0 && line.creditCode == 0)
        return r_.Fail(linePtr, "a line needs a debit or a credit account");
      journal.lines.push_back(std::move(line));
    }
    return true;
  }

  bool CheckCode(const std::string& linePtr, const char* codeName, int32_t code,
                 const std::unordered_map<int32_t, int>& kinds) {
    if (code == 0) return true;
    auto it = kinds.find(code);
    if (it == kinds.end())
      return r_.Fail(JsonReader::Child(linePtr, codeName), "unknown account code " + std::to_string(code));
    if (it->second != 0)
      return r_.Fail(JsonReader::Child(linePtr, codeName), "journal lines may only name accounts of kind 0");
    return true;
  }

  bool ParseJournals(const json& d, const std::string& dataPtr, DataRecord& out) {
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
    std::unordered_map<int32_t, int> kinds;
    for (const AccountRecord& acc : out.accounts) kinds[acc.code] = acc.kind;
    std::unordered_set<int32_t> ids;
    ids.reserve(out.journals.size());
    for (std::size_t i = 0; i < out.journals.size(); ++i) {
      const JournalRecord& journal = out.journals[i];
      std::string ptr = JsonReader::Child(listPtr, i);
      if (journal.date < out.periodStart || journal.date > out.periodEnd) {
        return r_.Fail(ptr + "/date", "lies outside the fiscal period");
      }
      if (!ids.insert(journal.id).second) return r_.Fail(ptr + "/id", "duplicate journal id");
      for (std::size_t k = 0; k < journal.lines.size(); ++k) {
        const JournalLineRecord& line = journal.lines[k];
        if (line.debitCode == 0 && line.creditCode == 0) continue;
        std::string linePtr = JsonReader::Child(ptr + "/lines", k);
        if (!CheckCode(linePtr, "debit", line.debitCode, kinds) ||
            !CheckCode(linePtr, "credit", line.creditCode, kinds)) {
          return false;
        }
      }
    }
    return true;
  }

  bool ParseSavedDocuments(const json& d, const std::string& dataPtr, DataRecord& out) {
    const json* docs = r_.Member(d, dataPtr, "savedDocuments", false);
    if (docs == nullptr) return !r_.Failed();
    std::string ptr = dataPtr + "/savedDocuments";
    if (!docs->is_object()) return r_.Fail(ptr, "must be an object");
    for (const auto& item : docs->items()) {
      std::string itemPtr = JsonReader::Child(ptr, item.key());
      int64_t kind = 0;
      std::string text;
      if (!r_.KeyNumber(item.key(), itemPtr, kind) || !r_.Text(item.value(), itemPtr, kUnlimited, text))
        return false;
      out.savedDocuments[kind] = std::move(text);
    }
    return true;
  }
};

// Follows the reader through the document: where it is (for pointers), which members each
// open object has had (a member twice is an error, which a JSON tree cannot show), and
// every journal as soon as it is complete, handed to the parser and never part of the tree,
// so that a document of a million journal lines never sits in memory as JSON. The rest of
// the document becomes a JSON tree for the parser.
class DocumentReader {
 public:
  explicit DocumentReader(Parser& parser) : parser_(parser) { parser_.StreamingStarted(); }

  // Thrown out of the reader at the first failure: nothing after it matters.
  struct Stop {};

  json& Document() { return root_; }

  bool null() {
    return Value(
        JsonEvent::Kind::Null, [](JsonEvent&) {}, nullptr);
  }
  bool boolean(bool value) {
    return Value(
        JsonEvent::Kind::Boolean, [value](JsonEvent& e) { e.boolean = value; }, value);
  }
  bool number_integer(json::number_integer_t value) {
    return Value(
        JsonEvent::Kind::Signed, [value](JsonEvent& e) { e.signedValue = value; }, value);
  }
  bool number_unsigned(json::number_unsigned_t value) {
    return Value(
        JsonEvent::Kind::Unsigned, [value](JsonEvent& e) { e.unsignedValue = value; }, value);
  }
  bool number_float(json::number_float_t value, const json::string_t&) {
    return Value(
        JsonEvent::Kind::Real, [value](JsonEvent& e) { e.real = value; }, value);
  }
  bool string(std::string_view value) {
    return Value(
        JsonEvent::Kind::Text, [value](JsonEvent& e) { e.text.assign(value); }, value);
  }
  bool binary(json::binary_t& value) {
    return Value(
        JsonEvent::Kind::Null, [](JsonEvent&) {}, json::binary(value));
  }
  bool start_object(std::size_t) { return Start(true); }
  bool start_array(std::size_t) { return Start(false); }
  bool key(std::string_view name) {
    Member(name);
    if (inJournal_) {
      journal_.Add(JsonEvent::Kind::Key).text.assign(name);
    } else {
      member_ = &(*open_.back())[std::string(name)];
    }
    return true;
  }
  bool end_object() { return End(true); }
  bool end_array() { return End(false); }
  std::size_t Depth() const { return depth_; }
  // Not JSON, at the byte the reader had read up to (a number too large for a double too).
  struct NotJson {
    std::size_t byte;
  };
  template <typename Exception>
  bool parse_error(std::size_t byte, const std::string&, const Exception&) {
    throw NotJson{byte};
  }

 private:
  struct Frame {
    bool object = false;
    std::size_t elements = 0;        // arrays: elements begun so far
    std::vector<std::string> names;  // objects: member names so far, the current one last
  };

  Parser& parser_;
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;  // frames_ beyond depth_ are kept for their buffers
  json root_;
  std::vector<json*> open_;  // the tree's open containers, outside journals
  json* member_ = nullptr;   // the member a key named, outside journals
  bool inJournal_ = false;
  JournalEvents journal_;

  // A value outside a journal goes into the tree; inside one, into its events.
  template <typename Record, typename Plain>
  bool Value(JsonEvent::Kind kind, Record record, Plain&& value) {
    CountElement();
    RefuseJournalThatIsNoObject();
    if (inJournal_) {
      record(journal_.Add(kind));
    } else {
      Place(json(std::forward<Plain>(value)));
    }
    return true;
  }

  json* Place(json value) {
    if (open_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    if (open_.back()->is_array()) {
      open_.back()->push_back(std::move(value));
      return &open_.back()->back();
    }
    *member_ = std::move(value);
    return member_;
  }

  bool Start(bool object) {
    CountElement();
    if (!object) RefuseJournalThatIsNoObject();
    Push(object);
    if (object && !inJournal_ && IsJournal()) {
      inJournal_ = true;
      journal_.Clear();
    }
    if (inJournal_) {
      journal_.Add(object ? JsonEvent::Kind::ObjectStart : JsonEvent::Kind::ArrayStart);
    } else {
      open_.push_back(Place(object ? json::object() : json::array()));
    }
    return true;
  }

  bool End(bool object) {
    if (inJournal_) {
      journal_.Add(object ? JsonEvent::Kind::ObjectEnd : JsonEvent::Kind::ArrayEnd);
      if (object && IsJournal()) {
        inJournal_ = false;
        TakeJournal();
      }
    } else {
      open_.pop_back();
    }
    Pop();
    return true;
  }

  void Push(bool object) {
    if (frames_.size() == depth_) frames_.emplace_back();
    Frame& frame = frames_[depth_++];
    frame.object = object;
    frame.elements = 0;
    frame.names.clear();
  }
  void Pop() { --depth_; }
  void CountElement() {
    if (depth_ > 0 && !frames_[depth_ - 1].object) ++frames_[depth_ - 1].elements;
  }

  // The pointer of the value being read, up to the frame `upTo` (exclusive).
  std::string Pointer(std::size_t upTo) const {
    std::string pointer;
    for (std::size_t i = 0; i < upTo; ++i) {
      const Frame& frame = frames_[i];
      pointer = frame.object ? JsonReader::Child(pointer, frame.names.empty() ? "" : frame.names.back())
                             : JsonReader::Child(pointer, frame.elements - 1);
    }
    return pointer;
  }

  void Member(std::string_view name) {
    std::vector<std::string>& names = frames_[depth_ - 1].names;
    for (const std::string& seen : names) {
      if (seen == name) {
        parser_.Fail(JsonReader::Child(Pointer(depth_ - 1), name), "duplicate member");
        throw Stop{};
      }
    }
    names.emplace_back(name);
  }

  // An object that is element j of the member "journals" of element i of the root's "data".
  bool IsJournal() const {
    return depth_ == 5 && frames_[0].object && frames_[0].names.back() == "data" && !frames_[1].object &&
           frames_[2].object && frames_[2].names.back() == "journals" && !frames_[3].object;
  }

  // Every journal is taken from the tree, so one that is not an object is refused here.
  void RefuseJournalThatIsNoObject() {
    if (depth_ == 4 && frames_[0].object && frames_[0].names.back() == "data" && !frames_[1].object &&
        frames_[2].object && frames_[2].names.back() == "journals" && !frames_[3].object) {
      parser_.Fail(Pointer(4), "must be an object");
      throw Stop{};
    }
  }

  // A journal valid on its own is taken from its events; any other one is checked in full
  // as JSON, which names its fault.
  void TakeJournal() {
    const std::size_t dataIndex = frames_[1].elements - 1;
    const std::size_t journalIndex = frames_[3].elements - 1;
    JournalRecord record;
    if (journal_.TakeValid(record)) {
      parser_.StreamJournalRecord(std::move(record), dataIndex, DataIdSoFar());
    } else if (!parser_.StreamJournal(journal_.ToJson(), dataIndex, journalIndex, DataIdSoFar())) {
      throw Stop{};
    }
  }

  // The id of the data record being read, when it came before its journals. The tree's open
  // containers are then the root, "data", the record and its "journals".
  const std::string* DataIdSoFar() const {
    if (open_.size() < 3 || !open_[2]->is_object()) return nullptr;
    const auto id = open_[2]->find("dataId");
    return id != open_[2]->end() && id->is_string() ? id->get_ptr<const json::string_t*>() : nullptr;
  }
};

// The document's bytes for the reader, read from the stream a megabyte at a time: the
// reader takes them one by one, and a stream buffer's iterator costs a call and an end test
// through the buffer per byte.
class ChunkedBytes {
 public:
  explicit ChunkedBytes(std::istream& in) : in_(in), buffer_(std::size_t{1} << 20) { Fill(); }

  bool AtEnd() const { return at_ == size_; }
  char Byte() const { return buffer_[at_]; }
  void Next() {
    if (++at_ == size_) Fill();
  }

  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    Iterator() = default;
    explicit Iterator(ChunkedBytes* bytes) : bytes_(bytes) {}
    char operator*() const { return bytes_->Byte(); }
    Iterator& operator++() {
      bytes_->Next();
      return *this;
    }
    // Any two iterators at the end are equal; the one sentinel is the default iterator.
    bool operator==(const Iterator& other) const { return AtEnd() == other.AtEnd(); }

   private:
    bool AtEnd() const { return bytes_ == nullptr || bytes_->AtEnd(); }
    ChunkedBytes* bytes_ = nullptr;
  };

 private:
  void Fill() {
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    size_ = static_cast<std::size_t>(in_.gcount());
    at_ = 0;
  }

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t size_ = 0;
  std::size_t at_ = 0;
};

// `read(reader)` runs nlohmann's SAX parser over the whole document.
template <typename Read>
int ParseStreamed(Read read, HostDocument& out, std::string& error) {
  Parser parser;
  DocumentReader reader(parser);
  try {
    read(reader);
  } catch (const DocumentReader::Stop&) {
    error = parser.Error();
    return 0;
  } catch (const DocumentReader::NotJson& e) {
    error = "not JSON (byte " + std::to_string(e.byte) + ")";
    return 0;
  }
  HostDocument parsed;
  if (parser.Run(reader.Document(), parsed, error) == 0) return 0;
  out = std::move(parsed);
  return 1;
}

// The quick reader's events for the document reader. What the quick reader would take
// but nlohmann's would not (a lone low surrogate written as an escape), and nesting deeper
// than any valid document, are left to nlohmann's reader.
class QuickEvents {
 public:
  struct NotMine {};

  explicit QuickEvents(DocumentReader& reader) : reader_(reader) {}

  bool Null() { return reader_.null(); }
  bool Bool(bool value) { return reader_.boolean(value); }
  bool Int(int value) { return reader_.number_integer(value); }
  bool Uint(unsigned value) { return reader_.number_unsigned(value); }
  bool Int64(int64_t value) { return reader_.number_integer(value); }
  bool Uint64(uint64_t value) { return reader_.number_unsigned(value); }
  bool Double(double value) { return reader_.number_float(value, kNoText); }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { throw NotMine{}; }
  bool String(const char* text, rapidjson::SizeType size, bool) {
    return reader_.string(Checked(text, size));
  }
  bool Key(const char* text, rapidjson::SizeType size, bool) { return reader_.key(Checked(text, size)); }
  bool StartObject() { return reader_.start_object(Deeper()); }
  bool EndObject(rapidjson::SizeType) { return reader_.end_object(); }
  bool StartArray() { return reader_.start_array(Deeper()); }
  bool EndArray(rapidjson::SizeType) { return reader_.end_array(); }

 private:
  // A valid document nests seven deep; the quick reader recurses once per level.
  static constexpr std::size_t kDepth = 64;
  inline static const json::string_t kNoText;

  std::size_t Deeper() const {
    if (reader_.Depth() >= kDepth) throw NotMine{};
    return 0;
  }
  // Surrogates in UTF-8 (0xED 0xA0-0xBF) can only come from an escape here, as the input
  // itself is validated.
  static std::string_view Checked(const char* text, rapidjson::SizeType size) {
    const std::string_view view(text, size);
    for (std::size_t at = view.find('\xed'); at != std::string_view::npos; at = view.find('\xed', at + 1)) {
      if (at + 1 < view.size() && (static_cast<unsigned char>(view[at + 1]) & 0xe0) == 0xa0) throw NotMine{};
    }
    return view;
  }

  DocumentReader& reader_;
};

// Bytes for the quick reader, which reads a NUL as the end: the caller tells the two apart.
class QuickText {
 public:
  using Ch = char;
  explicit QuickText(std::string_view text) : text_(text) {}
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  char Take() { return at_ < text_.size() ? text_[at_++] : '\0'; }
  std::size_t Tell() const { return at_; }
  bool AtEnd() const { return at_ == text_.size(); }
  char* PutBegin() { return nullptr; }
  void Put(char) {}
  void Flush() {}
  std::size_t PutEnd(char*) { return 0; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

class QuickStream {
 public:
  using Ch = char;
  explicit QuickStream(ChunkedBytes& bytes) : bytes_(bytes) {}
  char Peek() const { return bytes_.AtEnd() ? '\0' : bytes_.Byte(); }
  char Take() {
    if (bytes_.AtEnd()) return '\0';
    const char c = bytes_.Byte();
    bytes_.Next();
    ++taken_;
    return c;
  }
  std::size_t Tell() const { return taken_; }
  bool AtEnd() const { return bytes_.AtEnd(); }
  char* PutBegin() { return nullptr; }
  void Put(char) {}
  void Flush() {}
  std::size_t PutEnd(char*) { return 0; }

 private:
  ChunkedBytes& bytes_;
  std::size_t taken_ = 0;
};

// The quick reading: false when the document is for nlohmann's reader to judge (anything
// that is not JSON to the quick reader, so that its message and byte stay as they were).
template <typename Bytes>
bool ParseQuickly(Bytes& bytes, HostDocument& out, std::string& error, int& result,
                  JournalSink* sink = nullptr) {
  Parser parser;
  parser.SetSink(sink);
  DocumentReader reader(parser);
  QuickEvents events(reader);
  rapidjson::Reader quick;
  constexpr unsigned kFlags = rapidjson::kParseValidateEncodingFlag | rapidjson::kParseStopWhenDoneFlag |
                              rapidjson::kParseFullPrecisionFlag;
  try {
    if (quick.Parse<kFlags>(bytes, events).IsError()) return false;
  } catch (const DocumentReader::Stop&) {
    error = parser.Error();
    result = 0;
    return true;
  } catch (const QuickEvents::NotMine&) {
    return false;
  }
  while (!bytes.AtEnd() &&
         (bytes.Peek() == ' ' || bytes.Peek() == '\t' || bytes.Peek() == '\n' || bytes.Peek() == '\r'))
    bytes.Take();
  if (!bytes.AtEnd()) return false;
  HostDocument parsed;
  result = parser.Run(reader.Document(), parsed, error);
  if (result == 1) out = std::move(parsed);
  return true;
}

int ParseTextCarefully(std::string_view text, HostDocument& out, std::string& error) {
  return ParseStreamed([text](DocumentReader& reader) { json::sax_parse(text, &reader); }, out, error);
}

}  // namespace

int ParseHostDocument(const json& document, HostDocument& out, std::string& error) {
  HostDocument parsed;
  Parser parser;
  if (parser.Run(document, parsed, error) == 0) return 0;
  out = std::move(parsed);
  return 1;
}

int ParseHostDocumentText(std::string_view text, HostDocument& out, std::string& error) {
  QuickText bytes(text);
  int result = 0;
  if (ParseQuickly(bytes, out, error, result)) return result;
  return ParseTextCarefully(text, out, error);
}

int ParseHostDocumentTextCarefully(std::string_view text, HostDocument& out, std::string& error) {
  return ParseTextCarefully(text, out, error);
}

int ParseHostDocumentStream(std::istream& in, HostDocument& out, std::string& error, JournalSink* sink) {
  const std::istream::pos_type start = in.tellg();
  {
    ChunkedBytes chunks(in);
    QuickStream bytes(chunks);
    int result = 0;
    if (ParseQuickly(bytes, out, error, result, sink)) return result;
    // nlohmann's reader judges the text from its start, and keeps its journals to itself.
    if (sink != nullptr) sink->Forget();
    if (start == std::istream::pos_type(-1)) {
      error = "not JSON (byte " + std::to_string(bytes.Tell() + 1) + ")";
      return 0;
    }
  }
  in.clear();
  in.seekg(start);
  return ParseStreamed(
      [&in](DocumentReader& reader) {
        ChunkedBytes bytes(in);
        json::sax_parse(ChunkedBytes::Iterator(&bytes), ChunkedBytes::Iterator(), &reader);
      },
      out, error);
}

}  // namespace orbeck::store

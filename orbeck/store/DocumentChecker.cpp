// The checks of the document's tree, from its root down to each data record's accounts.
#include "orbeck/store/DocumentChecker.h"

#include <map>
#include <set>
#include <unordered_set>

namespace orbeck::store {

using nlohmann::json;

int DocumentChecker::Run(const json& doc, HostDocument& out, std::string& error) {
  ParseRoot(doc, out);
  if (r_.Failed()) {
    error = r_.Error();
    return 0;
  }
  return 1;
}

bool DocumentChecker::Number(const json& v, const std::string& ptr, members::Kind kind, int64_t min,
                             int64_t max, int64_t& out) {
  switch (kind) {
    case members::Kind::Integer:
      return r_.Integer(v, ptr, min, max, out);
    case members::Kind::Date: {
      int32_t date = 0;
      if (!r_.Date(v, ptr, date)) return false;
      out = date;
      return true;
    }
    case members::Kind::Amount:
      return r_.Amount(v, ptr, out);
    case members::Kind::Boolean: {
      bool flag = false;
      if (!r_.Boolean(v, ptr, flag)) return false;
      out = flag ? 1 : 0;
      return true;
    }
    case members::Kind::Character: {
      uint32_t character = 0;
      if (!ParseCharacter(v, ptr, character)) return false;
      out = character;
      return true;
    }
    case members::Kind::Text:
    case members::Kind::Nested:
      break;
  }
  return r_.Fail(ptr, "is not a number member");
}

void DocumentChecker::ParseRoot(const json& doc, HostDocument& out) {
  if (!Members(doc, "", members::kRootMembers, out)) return;
  const json& format = doc["format"];
  if (!format.is_string() || format != "orbeck-host-data") {
    r_.Fail("/format", "must be \"orbeck-host-data\"");
    return;
  }
  ParseFolders(doc, out);
  ParseUsers(doc, out);
  ParseEras(doc, out);
  ParseData(doc, out);
}

// Folder kinds are open-ended numbers, so members are read by key instead of by name.
void DocumentChecker::ParseFolders(const json& doc, HostDocument& out) {
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
    if (!r_.KeyNumber(item.key(), ptr, kind) ||
        !r_.Text(item.value(), ptr, static_cast<std::size_t>(members::kPathBytes), path)) {
      return;
    }
    out.folders[kind] = path;
  }
}

void DocumentChecker::ParseUsers(const json& doc, HostDocument& out) {
  const json* users = r_.Member(doc, "", "users", true);
  if (users == nullptr || !r_.Array(*users, "/users")) return;
  std::set<std::string> ids;
  for (std::size_t i = 0; i < users->size(); ++i) {
    std::string ptr = JsonReader::Child("/users", i);
    const json& u = (*users)[i];
    UserRecord user;
    if (!Members(u, ptr, members::kUserMembers, user)) return;
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
  if (!Str(doc, "", "currentUser", true, static_cast<std::size_t>(members::kUserIdBytes), out.currentUser))
    return;
  if (!ids.contains(out.currentUser)) r_.Fail("/currentUser", "names no user of /users");
}

void DocumentChecker::ParseEras(const json& doc, HostDocument& out) {
  const json* eras = r_.Member(doc, "", "eras", true);
  if (eras == nullptr || !r_.Array(*eras, "/eras")) return;
  std::set<int32_t> numbers;
  std::set<int32_t> firstDays;
  for (std::size_t i = 0; i < eras->size(); ++i) {
    std::string ptr = JsonReader::Child("/eras", i);
    const json& e = (*eras)[i];
    EraRecord era;
    if (!Members(e, ptr, members::kEraMembers, era)) return;
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

void DocumentChecker::ParseData(const json& doc, HostDocument& out) {
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

bool DocumentChecker::ParseDataRecord(const json& d, const std::string& ptr, DataRecord& out) {
  if (!Members(d, ptr, members::kDataMembers, out) ||
      !Str(d, ptr, "dataId", true, static_cast<std::size_t>(members::kDataIdBytes), out.dataId)) {
    return false;
  }
  bool printable = !out.dataId.empty();
  for (char c : out.dataId) printable = printable && c > 0x20 && c < 0x7f;
  if (!printable) return r_.Fail(ptr + "/dataId", "must be 1 to 15 printable ASCII characters");
  if (out.periodStart >= out.periodEnd) return r_.Fail(ptr + "/periodEnd", "must follow periodStart");
  if (const json* tax = r_.Member(d, ptr, "tax", false)) {
    if (!Members(*tax, ptr + "/tax", members::kTaxMembers, out)) return false;
    out.hasTaxSettings = true;
  }
  return ParseAccounts(d, ptr, out) && ParseJournals(d, ptr, out) && ParseSavedDocuments(d, ptr, out);
}

bool DocumentChecker::ParseCharacter(const json& v, const std::string& ptr, uint32_t& out) {
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

bool DocumentChecker::ParseSums(const json& v, const std::string& ptr, BalanceSums& out) {
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

bool DocumentChecker::ParseAccounts(const json& d, const std::string& dataPtr, DataRecord& out) {
  const json* accounts = r_.Member(d, dataPtr, "accounts", true);
  std::string listPtr = dataPtr + "/accounts";
  if (accounts == nullptr || !r_.Array(*accounts, listPtr)) return false;
  std::map<int32_t, std::size_t> byCode;
  for (std::size_t i = 0; i < accounts->size(); ++i) {
    const json& a = (*accounts)[i];
    std::string ptr = JsonReader::Child(listPtr, i);
    AccountRecord acc;
    if (!Members(a, ptr, members::kAccountMembers, acc)) return false;
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
        if (!r_.Integer((*m)[k], JsonReader::Child(ptr + "/members", k), 1, members::kInt32Max, code))
          return false;
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
      return r_.Fail(ptr + "/code",
                     "sub-account without its parent account " + std::to_string(acc.code - acc.code % 10000));
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

bool DocumentChecker::ParseSavedDocuments(const json& d, const std::string& dataPtr, DataRecord& out) {
  const json* docs = r_.Member(d, dataPtr, "savedDocuments", false);
  if (docs == nullptr) return !r_.Failed();
  std::string ptr = dataPtr + "/savedDocuments";
  if (!docs->is_object()) return r_.Fail(ptr, "must be an object");
  for (const auto& item : docs->items()) {
    std::string itemPtr = JsonReader::Child(ptr, item.key());
    int64_t kind = 0;
    std::string text;
    if (!r_.KeyNumber(item.key(), itemPtr, kind) ||
        !r_.Text(item.value(), itemPtr, std::numeric_limits<std::size_t>::max(), text))
      return false;
    out.savedDocuments[kind] = std::move(text);
  }
  return true;
}

}  // namespace orbeck::store

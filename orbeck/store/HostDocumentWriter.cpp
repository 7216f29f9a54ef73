// JSON output of the dumper (members in nlohmann::json order, which is alphabetical); the
// members with fields by their tables.
#include "orbeck/store/HostDocumentWriter.h"

#include <array>
#include <cstdio>
#include <type_traits>
#include <variant>

#include "orbeck/store/Amount.h"
#include "orbeck/store/DocumentMembers.h"
#include "platform/Cp932.h"

namespace orbeck::store {
namespace {

using nlohmann::json;

class Writer {
 public:
  bool Utf8(const std::string& cp932, const std::string& where, json& out) {
    platform::cp932::Conversion c = platform::cp932::ToUtf8(cp932);
    if (!c.ok) {
      if (error_.empty()) error_ = where + ": stored text is not code page 932";
      return false;
    }
    out = c.text;
    return true;
  }

  json Sums(const BalanceSums& sums) {
    json out = json::object();
    const char* setNames[2] = {"set1", "set2"};
    for (int set = 0; set < 2; ++set) {
      json debit = json::array();
      json credit = json::array();
      for (int e = 0; e < kEntries; ++e) {
        debit.push_back(FormatAmount(sums.At(set, kDebit, e)));
        credit.push_back(FormatAmount(sums.At(set, kCredit, e)));
      }
      out[setNames[set]] = {{"debit", debit}, {"credit", credit}};
    }
    return out;
  }

  static std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
  }

  // Every member of `record` that has a field, as its table says it is written.
  template <typename Record, std::size_t N>
  void Fields(const std::array<members::Member<Record>, N>& table, const Record& record,
              const std::string& ptr, json& out) {
    for (const members::Member<Record>& member : table) {
      std::visit(
          [&](auto field) {
            using Pointer = decltype(field);
            if constexpr (std::is_same_v<Pointer, std::string Record::*>) {
              Utf8(record.*field, ptr + "/" + std::string(member.name), out[member.name]);
            } else if constexpr (!std::is_same_v<Pointer, std::monostate>) {
              const auto value = record.*field;
              json& place = out[member.name];
              if (member.kind == members::Kind::Amount) {
                place = FormatAmount(static_cast<int64_t>(value));
              } else if (member.kind == members::Kind::Character) {
                place = Hex(static_cast<uint32_t>(value));
              } else if (member.kind == members::Kind::Boolean) {
                place = static_cast<bool>(value);
              } else {
                place = value;
              }
            }
          },
          member.field);
    }
  }

  json Data(const DataRecord& d, const std::string& ptr) {
    json out = json::object();
    out["dataId"] = d.dataId;
    Fields(members::kDataMembers, d, ptr, out);
    if (d.hasTaxSettings) Fields(members::kTaxMembers, d, ptr + "/tax", out["tax"]);
    json accounts = json::array();
    for (std::size_t i = 0; i < d.accounts.size(); ++i) {
      const AccountRecord& a = d.accounts[i];
      std::string aPtr = ptr + "/accounts/" + std::to_string(i);
      json acc = json::object();
      Fields(members::kAccountMembers, a, aPtr, acc);
      acc["flags"] = {a.flagA, a.flagB};
      acc["balanceRow"] = a.balanceRow;
      if (a.balanceRow) acc["sums"] = Sums(a.sums);
      accounts.push_back(std::move(acc));
    }
    out["accounts"] = std::move(accounts);
    json journals = json::array();
    for (std::size_t i = 0; i < d.journals.size(); ++i) {
      const JournalRecord& j = d.journals[i];
      const std::string jPtr = ptr + "/journals/" + std::to_string(i);
      json journal = json::object();
      Fields(members::kJournalMembers, j, jPtr, journal);
      json& lines = journal["lines"] = json::array();
      for (std::size_t k = 0; k < j.lines.size(); ++k) {
        Fields(members::kLineMembers, j.lines[k], jPtr + "/lines/" + std::to_string(k), lines.emplace_back());
      }
      journals.push_back(std::move(journal));
    }
    out["journals"] = std::move(journals);
    json saved = json::object();
    for (const auto& [kind, content] : d.savedDocuments) {
      std::string key = std::to_string(kind);
      Utf8(content, ptr + "/savedDocuments/" + key, saved[key]);
    }
    out["savedDocuments"] = std::move(saved);
    return out;
  }

  json Document(const HostDocument& doc) {
    json out = json::object();
    out["format"] = "orbeck-host-data";
    out["version"] = 1;
    Fields(members::kRootMembers, doc, "", out);
    json folders = json::object();
    for (const auto& [kind, path] : doc.folders) {
      std::string key = std::to_string(kind);
      Utf8(path, "/folders/" + key, folders[key]);
    }
    out["folders"] = std::move(folders);
    json users = json::array();
    for (std::size_t i = 0; i < doc.users.size(); ++i) {
      Fields(members::kUserMembers, doc.users[i], "/users/" + std::to_string(i), users.emplace_back());
    }
    out["users"] = std::move(users);
    Utf8(doc.currentUser, "/currentUser", out["currentUser"]);
    json eras = json::array();
    for (std::size_t i = 0; i < doc.eras.size(); ++i) {
      Fields(members::kEraMembers, doc.eras[i], "/eras/" + std::to_string(i), eras.emplace_back());
    }
    out["eras"] = std::move(eras);
    json data = json::array();
    for (std::size_t i = 0; i < doc.data.size(); ++i)
      data.push_back(Data(doc.data[i], "/data/" + std::to_string(i)));
    out["data"] = std::move(data);
    return out;
  }

  const std::string& Error() const { return error_; }

 private:
  std::string error_;
};

}  // namespace

int WriteHostDocument(const HostDocument& document, json& out, std::string& error) {
  Writer writer;
  json result = writer.Document(document);
  if (!writer.Error().empty()) {
    error = writer.Error();
    return 0;
  }
  out = std::move(result);
  return 1;
}

}  // namespace orbeck::store

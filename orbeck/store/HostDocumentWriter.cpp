// JSON output of the dumper (members in nlohmann::json order, which is alphabetical).
#include "orbeck/store/HostDocumentWriter.h"

#include <cstdio>

#include "orbeck/store/Amount.h"
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

  json Data(const DataRecord& d, const std::string& ptr) {
    json out = json::object();
    out["dataId"] = d.dataId;
    out["selectedNo"] = d.selectedNo;
    Utf8(d.companyName, ptr + "/companyName", out["companyName"]);
    out["periodStart"] = d.periodStart;
    out["periodEnd"] = d.periodEnd;
    out["closingDay"] = d.closingDay;
    out["patternFlag"] = d.patternFlag;
    out["interimClosing"] = d.interimClosing;
    out["introMonthIndex"] = d.introMonthIndex;
    out["companiesActReady"] = d.companiesActReady;
    if (d.hasTaxSettings) out["tax"] = {{"method", d.taxMethod}, {"amountBasis", d.amountBasis}};
    json accounts = json::array();
    for (std::size_t i = 0; i < d.accounts.size(); ++i) {
      const AccountRecord& a = d.accounts[i];
      std::string aPtr = ptr + "/accounts/" + std::to_string(i);
      json acc = json::object();
      acc["code"] = a.code;
      Utf8(a.name, aPtr + "/name", acc["name"]);
      Utf8(a.secondName, aPtr + "/secondName", acc["secondName"]);
      acc["kind"] = a.kind;
      acc["debitNature"] = a.debitNature;
      acc["character"] = Hex(a.character);
      acc["flags"] = {a.flagA, a.flagB};
      acc["balanceRow"] = a.balanceRow;
      if (a.balanceRow) acc["sums"] = Sums(a.sums);
      accounts.push_back(std::move(acc));
    }
    out["accounts"] = std::move(accounts);
    json journals = json::array();
    for (std::size_t i = 0; i < d.journals.size(); ++i) {
      const JournalRecord& j = d.journals[i];
      json lines = json::array();
      for (std::size_t k = 0; k < j.lines.size(); ++k) {
        const JournalLineRecord& l = j.lines[k];
        json line = json::object();
        line["debit"] = l.debitCode;
        line["debitAmount"] = FormatAmount(l.debitAmount);
        line["debitTax"] = FormatAmount(l.debitTax);
        line["credit"] = l.creditCode;
        line["creditAmount"] = FormatAmount(l.creditAmount);
        line["creditTax"] = FormatAmount(l.creditTax);
        Utf8(l.description,
             ptr + "/journals/" + std::to_string(i) + "/lines/" + std::to_string(k) + "/description",
             line["description"]);
        line["counterKind"] = l.counterKind;
        lines.push_back(std::move(line));
      }
      journals.push_back(
          {{"id", j.id}, {"date", j.date}, {"adjustment", j.adjustment}, {"lines", std::move(lines)}});
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
    Utf8(doc.packageName, "/packageName", out["packageName"]);
    out["expSysLink"] = doc.expSysLink;
    json folders = json::object();
    for (const auto& [kind, path] : doc.folders) {
      std::string key = std::to_string(kind);
      Utf8(path, "/folders/" + key, folders[key]);
    }
    out["folders"] = std::move(folders);
    json users = json::array();
    for (std::size_t i = 0; i < doc.users.size(); ++i) {
      json user = json::object();
      Utf8(doc.users[i].id, "/users/" + std::to_string(i) + "/id", user["id"]);
      user["selectedFirst"] = doc.users[i].selectedFirst;
      user["selectedNo"] = doc.users[i].selectedNo;
      users.push_back(std::move(user));
    }
    out["users"] = std::move(users);
    Utf8(doc.currentUser, "/currentUser", out["currentUser"]);
    json eras = json::array();
    for (std::size_t i = 0; i < doc.eras.size(); ++i) {
      json era = {{"no", doc.eras[i].no}, {"firstDay", doc.eras[i].firstDay}};
      Utf8(doc.eras[i].name, "/eras/" + std::to_string(i) + "/name", era["name"]);
      eras.push_back(std::move(era));
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

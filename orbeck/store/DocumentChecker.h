// The document's checker: reads a JSON tree of the host data document into a HostDocument,
// validating types, byte limits in code page 932, uniqueness and references, and naming
// each fault by its JSON pointer. Journals may also arrive one by one while the document is
// read (DocumentReader), each checked on its own as it comes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "orbeck/store/HostDocument.h"
#include "orbeck/store/JournalSink.h"
#include "orbeck/store/JsonReader.h"

namespace orbeck::store {

class DocumentChecker {
 public:
  int Run(const nlohmann::json& doc, HostDocument& out, std::string& error);
  // The journals of data record `dataIndex` arrive one by one while the document is read,
  // before the rest of the record is known: each is checked on its own here, and against
  // the record's accounts and period once the record is complete.
  // Each journal valid on its own also goes to the sink, if any, with the record's id as
  // read so far (`dataId`, null when not read yet).
  bool StreamJournal(const nlohmann::json& j, std::size_t dataIndex, std::size_t journalIndex,
                     const std::string* dataId);
  // A journal already found valid on its own.
  void StreamJournalRecord(JournalRecord&& journal, std::size_t dataIndex, const std::string* dataId);
  void SetSink(JournalSink* sink) { sink_ = sink; }
  void StreamingStarted() { streaming_ = true; }
  bool Fail(const std::string& pointer, const std::string& message) { return r_.Fail(pointer, message); }
  const std::string& Error() const { return r_.Error(); }

 private:
  static constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
  static constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
  // Byte limits of the host's fixed text fields.
  static constexpr std::size_t kNameBytes = 30;
  static constexpr std::size_t kDescriptionBytes = 60;
  static constexpr std::size_t kCompanyBytes = 259;
  static constexpr std::size_t kUserIdBytes = 64;
  static constexpr std::size_t kDataIdBytes = 15;
  static constexpr std::size_t kEraNameBytes = 15;
  static constexpr std::size_t kPathBytes = 260;
  static constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
  // Characters of the consumption-tax accounts: 仮払消費税 and 仮受消費税.
  static constexpr uint32_t kPaidTaxCharacter = 0x80880810;
  static constexpr uint32_t kReceivedTaxCharacter = 0x80484010;
  // Account numbers of the host: the code divided by 10000.
  static constexpr int64_t kFirstAccountCode = 10000;    // account 1
  static constexpr int64_t kLastAccountCode = 99999999;  // account 9999, sub-account 9999

  JsonReader r_;
  bool streaming_ = false;
  JournalSink* sink_ = nullptr;
  std::vector<std::vector<JournalRecord>> streamed_;  // by data index
  std::size_t dataIndex_ = 0;                         // the data record being parsed

  template <typename T>
  bool Int(const nlohmann::json& obj, const std::string& ptr, std::string_view name, bool required,
           int64_t min, int64_t max, T& out) {
    const nlohmann::json* v = r_.Member(obj, ptr, name, required);
    if (v == nullptr) return !r_.Failed();
    int64_t value = 0;
    if (!r_.Integer(*v, JsonReader::Child(ptr, name), min, max, value)) return false;
    out = static_cast<T>(value);
    return true;
  }

  bool Str(const nlohmann::json& obj, const std::string& ptr, std::string_view name, bool required,
           std::size_t maxBytes, std::string& out) {
    const nlohmann::json* v = r_.Member(obj, ptr, name, required);
    if (v == nullptr) return !r_.Failed();
    return r_.Text(*v, JsonReader::Child(ptr, name), maxBytes, out);
  }

  bool Amt(const nlohmann::json& obj, const std::string& ptr, std::string_view name, int64_t& out) {
    const nlohmann::json* v = r_.Member(obj, ptr, name, false);
    if (v == nullptr) return !r_.Failed();
    return r_.Amount(*v, JsonReader::Child(ptr, name), out);
  }

  void ParseRoot(const nlohmann::json& doc, HostDocument& out);
  // Folder kinds are open-ended numbers, so members are read by key instead of by name.
  void ParseFolders(const nlohmann::json& doc, HostDocument& out);
  void ParseUsers(const nlohmann::json& doc, HostDocument& out);
  void ParseEras(const nlohmann::json& doc, HostDocument& out);
  void ParseData(const nlohmann::json& doc, HostDocument& out);
  bool ParseDataRecord(const nlohmann::json& d, const std::string& ptr, DataRecord& out);
  bool ParseCharacter(const nlohmann::json& v, const std::string& ptr, uint32_t& out);
  bool ParseSums(const nlohmann::json& v, const std::string& ptr, BalanceSums& out);
  bool ParseAccounts(const nlohmann::json& d, const std::string& dataPtr, DataRecord& out);
  // A side's code, amount and tax; a side without an account carries neither.
  bool ParseSide(const nlohmann::json& line, const std::string& ptr, const char* codeName,
                 const char* amountName, const char* taxName, int32_t& code, int64_t& amount, int64_t& tax);
  // One journal as it stands, without what needs its data record (period, accounts).
  bool ParseJournal(const nlohmann::json& j, const std::string& ptr, JournalRecord& journal);
  bool CheckCode(const std::string& linePtr, const char* codeName, int32_t code,
                 const std::unordered_map<int32_t, int>& kinds);
  bool ParseJournals(const nlohmann::json& d, const std::string& dataPtr, DataRecord& out);
  bool ParseSavedDocuments(const nlohmann::json& d, const std::string& dataPtr, DataRecord& out);
};

}  // namespace orbeck::store

// The document's checker: reads a JSON tree of the host data document into a HostDocument,
// validating types, byte limits in code page 932, uniqueness and references, and naming
// each fault by its JSON pointer. Each object's members are checked by their table
// (DocumentMembers.h); what the tables leave to code follows them. Journals may also arrive one by one while
// the document is read (DocumentReader), each checked on its own as it comes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "orbeck/store/DocumentMembers.h"
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
  // Characters of the consumption-tax accounts: 仮払消費税 and 仮受消費税.
  static constexpr uint32_t kPaidTaxCharacter = 0x80880810;
  static constexpr uint32_t kReceivedTaxCharacter = 0x80484010;

  JsonReader r_;
  bool streaming_ = false;
  JournalSink* sink_ = nullptr;
  std::vector<std::vector<JournalRecord>> streamed_;  // by data index
  std::size_t dataIndex_ = 0;                         // the data record being parsed

  // Checks `object` against its members' table: no member outside it, every required one
  // there, each with a field read into `out` (in the table's order); Nested members are
  // left to the caller.
  template <typename Record, std::size_t N>
  bool Members(const nlohmann::json& object, const std::string& ptr,
               const std::array<members::Member<Record>, N>& table, Record& out) {
    if (r_.Failed()) return false;
    if (!object.is_object()) return r_.Fail(ptr, "must be an object");
    for (const auto& item : object.items()) {
      bool known = false;
      for (const members::Member<Record>& member : table) known = known || item.key() == member.name;
      if (!known) return r_.Fail(JsonReader::Child(ptr, item.key()), "unknown member");
    }
    for (const members::Member<Record>& member : table) {
      const nlohmann::json* value = r_.Member(object, ptr, member.name, member.required);
      if (value == nullptr) {
        if (r_.Failed()) return false;
        continue;
      }
      if (!Value(*value, JsonReader::Child(ptr, member.name), member, out)) return false;
    }
    return true;
  }

  template <typename Record>
  bool Value(const nlohmann::json& v, const std::string& ptr, const members::Member<Record>& member,
             Record& out) {
    if (member.kind == members::Kind::Nested) return true;
    if (member.kind == members::Kind::Text) {
      std::string text;
      if (!r_.Text(v, ptr, static_cast<std::size_t>(member.max), text)) return false;
      if (auto* field = std::get_if<std::string Record::*>(&member.field)) out.** field = std::move(text);
      return true;
    }
    int64_t number = 0;
    if (!Number(v, ptr, member.kind, member.min, member.max, number)) return false;
    std::visit(
        [&out, number](auto field) {
          using Pointer = decltype(field);
          if constexpr (!std::is_same_v<Pointer, std::monostate> &&
                        !std::is_same_v<Pointer, std::string Record::*>) {
            out.*field = static_cast<std::remove_reference_t<decltype(out.*field)>>(number);
          }
        },
        member.field);
    return true;
  }

  // A value of a kind other than Text or Nested, as an integer.
  bool Number(const nlohmann::json& v, const std::string& ptr, members::Kind kind, int64_t min, int64_t max,
              int64_t& out);

  bool Str(const nlohmann::json& obj, const std::string& ptr, std::string_view name, bool required,
           std::size_t maxBytes, std::string& out) {
    const nlohmann::json* v = r_.Member(obj, ptr, name, required);
    if (v == nullptr) return !r_.Failed();
    return r_.Text(*v, JsonReader::Child(ptr, name), maxBytes, out);
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
  // A side without an account carries neither amount nor tax.
  bool CheckSide(const std::string& ptr, const char* amountName, const char* taxName, int32_t code,
                 int64_t amount, int64_t tax);
  // One journal as it stands, without what needs its data record (period, accounts).
  bool ParseJournal(const nlohmann::json& j, const std::string& ptr, JournalRecord& journal);
  bool ParseJournals(const nlohmann::json& d, const std::string& dataPtr, DataRecord& out);
  bool ParseSavedDocuments(const nlohmann::json& d, const std::string& dataPtr, DataRecord& out);
};

}  // namespace orbeck::store

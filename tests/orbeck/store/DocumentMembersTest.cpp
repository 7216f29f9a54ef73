// The members' tables against the document's JSON Schema (docs/host-data.schema.json), its
// published description: every object names the same members, requires the same ones, and
// gives each the same kind of value and range.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "orbeck/store/DocumentMembers.h"

namespace {

using nlohmann::json;
namespace members = orbeck::store::members;

struct Described {
  std::string name;
  members::Kind kind;
  bool required;
  int64_t min, max;
};

template <typename Record, std::size_t N>
std::vector<Described> Describe(const std::array<members::Member<Record>, N>& table) {
  std::vector<Described> out;
  for (const auto& member : table) {
    out.push_back({std::string(member.name), member.kind, member.required, member.min, member.max});
  }
  return out;
}

json Schema() {
  const char* source = std::getenv("VELMORA_SOURCE_DIR");
  if (source == nullptr) return nullptr;
  std::ifstream in(std::string(source) + "/docs/host-data.schema.json");
  return json::parse(in, nullptr, false);
}

// The schema a property's "$ref" names, or the property itself.
const json& Resolved(const json& schema, const json& property) {
  if (!property.contains("$ref")) return property;
  const std::string ref = property["$ref"];
  return schema.at(json::json_pointer(ref.substr(1)));
}

void ExpectValue(const json& schema, const json& property, const Described& member) {
  const json& value = Resolved(schema, property);
  const std::string ref = property.value("$ref", "");
  switch (member.kind) {
    case members::Kind::Integer:
      if (value.contains("const")) {
        EXPECT_EQ(member.min, value["const"]);
        EXPECT_EQ(member.max, value["const"]);
      } else if (value.contains("enum")) {
        EXPECT_EQ(member.min, value["enum"].front()) << "an enumeration's lowest value";
        EXPECT_EQ(member.max, value["enum"].back()) << "an enumeration's highest value";
      } else {
        EXPECT_EQ("integer", value.value("type", ""));
        EXPECT_EQ(member.min, value.value("minimum", int64_t{0}));
        EXPECT_EQ(member.max, value.value("maximum", int64_t{0}));
      }
      break;
    case members::Kind::Date:
      EXPECT_EQ("#/$defs/date", ref);
      break;
    case members::Kind::Amount:
      EXPECT_EQ("#/$defs/amount", ref);
      break;
    case members::Kind::Character:
      EXPECT_EQ("#/$defs/character", ref);
      break;
    case members::Kind::Text:
      EXPECT_EQ("string", value.value("type", ""));
      break;
    case members::Kind::Boolean:
      EXPECT_EQ("boolean", value.value("type", ""));
      break;
    case members::Kind::Nested:
      break;
  }
}

TEST(DocumentMembers, EveryObjectOfTheSchemaHasItsTablesMembersRequirementsAndRanges) {
  const json schema = Schema();
  ASSERT_TRUE(schema.is_object()) << "docs/host-data.schema.json cannot be read (VELMORA_SOURCE_DIR)";
  const std::vector<std::pair<const char*, std::vector<Described>>> objects = {
      {"", Describe(members::kRootMembers)},
      {"/properties/users/items", Describe(members::kUserMembers)},
      {"/properties/eras/items", Describe(members::kEraMembers)},
      {"/$defs/dataRecord", Describe(members::kDataMembers)},
      {"/$defs/dataRecord/properties/tax", Describe(members::kTaxMembers)},
      {"/$defs/account", Describe(members::kAccountMembers)},
      {"/$defs/journal", Describe(members::kJournalMembers)},
      {"/$defs/journalLine", Describe(members::kLineMembers)},
  };
  for (const auto& [pointer, table] : objects) {
    SCOPED_TRACE(std::string("schema object ") + (*pointer != '\0' ? pointer : "(root)"));
    const json& object = schema.at(json::json_pointer(pointer));
    EXPECT_EQ(false, object.value("additionalProperties", true)) << "unknown members are refused";
    std::set<std::string> names, required, tableNames, tableRequired;
    for (const auto& [name, property] : object["properties"].items()) names.insert(name);
    for (const std::string name : object.value("required", json::array())) required.insert(name);
    for (const Described& member : table) {
      tableNames.insert(member.name);
      if (member.required) tableRequired.insert(member.name);
      if (!object["properties"].contains(member.name)) continue;
      SCOPED_TRACE(member.name);
      ExpectValue(schema, object["properties"][member.name], member);
    }
    EXPECT_EQ(tableNames, names);
    EXPECT_EQ(tableRequired, required);
  }
}

}  // namespace

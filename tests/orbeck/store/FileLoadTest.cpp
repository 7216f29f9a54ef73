// A document loaded from its file has its journals written while it is still being read.
// The store must come out as the loaded JSON tree makes it, whatever the order of the
// members; a refusal after journals went in must leave every store, folder and file as
// it was, with the message the text's reading gives.
#include <gtest/gtest.h>

#include <fstream>

#include "orbeck/store/HostDataLoader.h"
#include "orbeck/store/StoreFile.h"
#include "tests/orbeck/store/StoreQuery.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestHost.h"

namespace {

using nlohmann::json;
using nlohmann::ordered_json;
using orbeck::store::test::StoreQuery;
using velmora::test::TestHost;

std::size_t FilesIn(const std::filesystem::path& folder) {
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++files;
  return files;
}

// The demo company with `journals` journals (its own ones repeated under new ids) and a
// second data record whose id comes only after its journals in the text.
ordered_json BigCompany(std::size_t journals) {
  json doc = TestHost::LoadDemoCompany();
  json& data = doc["data"][0];
  const json own = data["journals"];
  data["journals"] = json::array();
  for (std::size_t i = 0; i < journals; ++i) {
    json journal = own[i % own.size()];
    journal["id"] = i + 1;
    data["journals"].push_back(std::move(journal));
  }
  ordered_json text = doc;  // members in the tree's (sorted) order: "dataId" before "journals"
  ordered_json second;
  for (const auto& [key, value] : doc["data"][0].items()) {
    if (key != "dataId" && key != "selectedNo") second[key] = value;
  }
  second["journals"].erase(
      second["journals"].begin(),
      second["journals"].begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(journals, 7)));
  second["selectedNo"] = 2;
  second["dataId"] = "LATE";
  text["data"].push_back(std::move(second));
  return text;
}

std::string Postings(const std::filesystem::path& store) {
  return StoreQuery(store).Rows("SELECT * FROM postings");  // in the table's own order
}

TEST(FileLoad, WritesTheStoreTheTreeWrites) {
  for (std::size_t journals : {std::size_t{1}, std::size_t{5000}}) {
    SCOPED_TRACE(journals);
    const ordered_json text = BigCompany(journals);
    TestHost fromTree(json::parse(text.dump()));
    ASSERT_TRUE(fromTree.loaded());
    TestHost fromFile(nullptr);
    const std::filesystem::path file = fromFile.root() / "company.json";
    std::ofstream(file, std::ios::binary) << text.dump(1);
    std::string error;
    ASSERT_EQ(1, orbeck::store::LoadHostDataFile(file, fromFile.home(), error)) << error;

    EXPECT_EQ(StoreQuery(fromTree.storePath()).Image(), StoreQuery(fromFile.storePath()).Image());
    EXPECT_EQ(Postings(fromTree.storePath()), Postings(fromFile.storePath()));
    // Every journal and line of the text is there (the tree's load shares the store's writing).
    std::size_t lines = 0;
    std::size_t written = 0;
    for (const auto& data : text["data"]) {
      written += data["journals"].size();
      for (const auto& journal : data["journals"]) lines += journal["lines"].size();
    }
    const StoreQuery store(fromFile.storePath());
    EXPECT_EQ(written, static_cast<std::size_t>(store.Int("SELECT count(*) FROM journals")));
    EXPECT_EQ(lines, static_cast<std::size_t>(store.Int("SELECT count(*) FROM journal_lines")));
    std::vector<std::string> problems;
    EXPECT_EQ(1, orbeck::store::CheckStore(fromFile.storePath(), problems));
    EXPECT_EQ(2u, FilesIn(fromFile.home())) << "a temporary file was left beside the store and its seal";
  }
}

struct LateFault {
  const char* what;
  void (*spoil)(ordered_json&);
};

TEST(FileLoad, ARefusalAfterTheJournalsLeavesEverythingAsItWas) {
  const LateFault faults[] = {
      {"a journal line on an unknown account, found once its record is complete",
       [](ordered_json& doc) { doc["data"][1]["journals"].back()["lines"][0]["debit"] = 99999999; }},
      {"a wrong version after the data",
       [](ordered_json& doc) {
         doc.erase("version");
         doc["version"] = 2;
       }},
      {"a text the quick reading leaves to the careful one",
       [](ordered_json& doc) {
         doc.erase("packageName");
         doc["packageName"] = "LONE_SURROGATE";
       }},
      {"a journal id twice", [](ordered_json& doc) { doc["data"][0]["journals"][2400]["id"] = 1; }},
  };
  for (const LateFault& fault : faults) {
    SCOPED_TRACE(fault.what);
    ordered_json doc = BigCompany(2500);
    fault.spoil(doc);
    std::string text = doc.dump();
    const std::size_t lone = text.find("LONE_SURROGATE");
    if (lone != std::string::npos) text.replace(lone, 14, "\\udc00");
    TestHost host;
    std::string expected;
    ASSERT_EQ(0, orbeck::store::LoadHostDataText(text, host.home(), expected));
    ASSERT_TRUE(host.loaded());
    const std::string before = velmora::test::ReadBytes(host.storePath());
    const std::filesystem::path file = host.root() / "company.json";
    std::ofstream(file, std::ios::binary) << text;
    std::string error;
    EXPECT_EQ(0, orbeck::store::LoadHostDataFile(file, host.home(), error));
    EXPECT_EQ(expected.starts_with("not JSON") ? file.string() + ": " + expected : expected, error);
    EXPECT_EQ(before, velmora::test::ReadBytes(host.storePath()));
    EXPECT_EQ(2u, FilesIn(host.home())) << "a temporary file was left beside the store and its seal";

    // Into a home that does not exist yet: no folder is left behind either.
    const std::filesystem::path fresh = host.root() / "new" / "home";
    EXPECT_EQ(0, orbeck::store::LoadHostDataFile(file, fresh, error));
    EXPECT_FALSE(std::filesystem::exists(host.root() / "new"));
  }
}

}  // namespace

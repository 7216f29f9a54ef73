// The loader writes the ledger table from the journals in memory; postings.sql derives the
// same table from the journal tables (the runtime's tests build stores with it). Both must
// give the same rows, in the same physical order.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>

#include "orbeck/store/StoreSchema.h"
#include "tests/orbeck/store/StoreQuery.h"
#include "tests/support/TestHost.h"

namespace {

using nlohmann::json;
using orbeck::store::test::StoreQuery;
using velmora::test::TestHost;

TEST(PostingRows, TheLoaderWritesWhatTheSqlDerives) {
  json doc = TestHost::LoadDemoCompany();
  // A second data record, whose rows follow the first one's in the table.
  json second = doc["data"][0];
  second["dataId"] = "DEMO02";
  second["selectedNo"] = 2;
  second["journals"].erase(second["journals"].begin(), second["journals"].begin() + 100);
  doc["data"].push_back(second);
  TestHost host(doc);
  ASSERT_TRUE(host.loaded());

  const std::string table = "SELECT * FROM postings";  // in the table's own order
  const std::string loaded = StoreQuery(host.storePath()).Rows(table);
  {
    StoreQuery store(host.storePath());
    // Every way a line reaches an account is there, in both data records.
    for (int reach = 1; reach <= 4; ++reach) {
      for (int data = 0; data < 2; ++data) {
        EXPECT_GT(store.Int("SELECT count(*) FROM postings WHERE reach = " + std::to_string(reach) +
                            " AND data_ord = " + std::to_string(data)),
                  0)
            << "reach " << reach << ", data " << data;
      }
    }
  }

  const std::filesystem::path copy = host.home() / "derived.db";
  std::filesystem::copy_file(host.storePath(), copy);
  sqlite3* db = nullptr;
  const std::u8string name = copy.u8string();  // SQLite's names are UTF-8 on every system
  ASSERT_EQ(SQLITE_OK, sqlite3_open(reinterpret_cast<const char*>(name.c_str()), &db));
  const std::string derive = std::string("BEGIN;") + orbeck::store::StorePostingsSql() + "COMMIT; VACUUM;";
  EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, derive.c_str(), nullptr, nullptr, nullptr)) << sqlite3_errmsg(db);
  sqlite3_close(db);
  EXPECT_EQ(StoreQuery(copy).Rows(table), loaded);
}

}  // namespace

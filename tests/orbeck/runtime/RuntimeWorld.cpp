// The temporary host installation and the standard company the runtime tests read.
#include "tests/orbeck/runtime/RuntimeWorld.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <cstdlib>

#include "orbeck/StoreSeal.h"
#include "platform/Faults.h"
#include "runtime/Connect.h"
#include "tests/support/TestFiles.h"

namespace orbeck::test {

namespace {

// The standard company. Names are code page 932 bytes written as hex, so the expected
// bytes in the tests are independent of any conversion code. The user "admin" has selected
// data number 2, which is DEMO01, the first data of the cursor.
//   1110000 現金 (cash) with sub-account 1110003 小口現金, 1310000 普通預金 (bank),
//   1550000 仮払消費税 (0x80880810), 3350000 仮受消費税 (0x80484010), 4110000 売上高,
//   9000000 a total row whose names fill their 30 bytes.
const char* kStandardSql = R"SQL(
INSERT INTO meta VALUES ('package_name', X'826e8292828282858283828b82518250');
INSERT INTO folders VALUES (0, CAST('out\' AS BLOB)), (1, CAST('C:\Host\Settings' AS BLOB));
INSERT INTO users VALUES (CAST('admin' AS BLOB), 7, 2), (CAST('other' AS BLOB), 1, 1);
INSERT INTO session VALUES (1, CAST('admin' AS BLOB));
INSERT INTO data (data_id, ord, selected_no, company_name, period_start, period_end, closing_day,
                  pattern_flag, interim_closing, intro_month_index, companies_act_ready,
                  tax_method, amount_basis, has_tax_settings)
VALUES ('DEMO01', 1, 2, X'8a948eae89ef8ed08378838b83828389', 20240401, 20250331, 31, 1, 1, 4, 1, 2, 1, 1),
       ('OTHER01', 2, 1, CAST('Other Co.' AS BLOB), 20240101, 20241231, 20, 0, 0, 99, 0, 0, 0, 0);
INSERT INTO eras VALUES (3, 19261225, X'8fba9861'), (4, 19890108, X'95bd90ac'), (5, 20190501, X'97df9861');
INSERT INTO accounts (data_id, account_code, official_name, second_name, kind, debit_nature,
                      account_character, flag_a, flag_b, balance_row, row_order) VALUES
  ('DEMO01', 1110000, X'8cbb8be0', X'', 0, 1, 2156398592, 0, 1, 1, 1),
  ('DEMO01', 1110003, X'8fac8cfb8cbb8be0', X'', 0, 1, 2156398592, 0, 0, 0, 0),
  ('DEMO01', 1310000, X'958192ca97618be0', CAST('Bank' AS BLOB), 0, 1, 2156398593, 0, 0, 1, 2),
  ('DEMO01', 1550000, X'89bc95a58fc194ef90c5', X'', 0, 1, 2156398608, 0, 0, 1, 4),
  ('DEMO01', 3350000, X'89bc8ef38fc194ef90c5', X'', 0, 0, 2152218640, 0, 0, 1, 5),
  ('DEMO01', 4110000, X'94848fe38d82', X'', 0, 0, 1074790400, 0, 0, 1, 3),
  ('DEMO01', 9000000, X'955c955c955c955c955c955c955c955c955c955c955c955c955c955c955c',
                      X'835c835c835c835c835c835c835c835c835c835c835c835c835c835c835c', 2, 1, 2147483648, 1, 0, 1, 6),
  ('DEMO01', 8000000, CAST('Heading' AS BLOB), X'', 1, 1, 0, 0, 0, 0, 0),
  ('OTHER01', 1110000, CAST('Cash' AS BLOB), X'', 0, 1, 2156398592, 0, 0, 1, 1);
INSERT INTO sums VALUES
  ('DEMO01', 1110000, 1, 'D', 0, 15000000000), ('DEMO01', 1110000, 1, 'D', 1, 10000000),
  ('DEMO01', 1110000, 1, 'C', 12, 2000000), ('DEMO01', 1110000, 2, 'D', 14, -25000),
  ('DEMO01', 1110000, 2, 'C', 13, 500000), ('DEMO01', 4110000, 1, 'C', 1, 10000000),
  ('DEMO01', 1110003, 1, 'D', 1, 999), ('OTHER01', 1110000, 1, 'D', 0, 77);
INSERT INTO journals VALUES
  ('DEMO01', 1, 20240415, 0), ('DEMO01', 2, 20240420, 0), ('DEMO01', 3, 20240501, 0),
  ('DEMO01', 4, 20250331, 13), ('DEMO01', 5, 20250401, 0), ('DEMO01', 6, 20240410, 0),
  ('DEMO01', 7, 20240930, 14), ('OTHER01', 1, 20240415, 0);
INSERT INTO journal_lines VALUES
  ('DEMO01', 1, 1, 1110000, 10000000, 1000000, 4110000, 10000000, 1000000, X'8cbb8be0', 0),
  ('DEMO01', 2, 2, 1310000, 2000000, 200000, 1110000, 2000000, 0, CAST('two' AS BLOB), 34),
  ('DEMO01', 2, 1, 1110003, 5000000, 0, 1310000, 5000000, 0, CAST('one' AS BLOB), 18),
  ('DEMO01', 3, 1, 1110000, 3000000, 0, 1110003, 3000000, 0, CAST('own' AS BLOB), 0),
  ('DEMO01', 4, 1, 1310000, 500000, 0, 1110000, 500000, 0, CAST('adj' AS BLOB), 0),
  ('DEMO01', 5, 1, 1110000, 700000, 0, 4110000, 700000, 0, CAST('late' AS BLOB), 0),
  ('DEMO01', 6, 1, 1110000, 100000, 0, 1310000, 100000, 0, CAST('early' AS BLOB), 0),
  ('DEMO01', 7, 1, 1310000, 40000, 0, 4110000, 40000, 4000, CAST('interim' AS BLOB), 0),
  ('OTHER01', 1, 1, 1110000, 1, 0, 4110000, 1, 0, CAST('other' AS BLOB), 0);
INSERT INTO saved_documents VALUES
  ('DEMO01', 0, CAST('Note=1' || char(13) || char(10) AS BLOB)),
  ('DEMO01', 1000, X'8cbb8be00d0a3c49443e');
)SQL";

}  // namespace

void RuntimeWorld::SetUp() {
  char pattern[] = "/tmp/velmora-runtime-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  root_ = pattern;
  home_ = root_ / "home";
  std::filesystem::create_directories(home_);
  ::setenv("ORBECK_HOME", home_.string().c_str(), 1);
  platform::faults::Clear();
}

void RuntimeWorld::TearDown() {
  ClAccConnect::Inst().LogOut();
  ClAccConnect::Inst().Terminate();
  ClAccConnect::Inst().Release();
  platform::faults::Clear();
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void RuntimeWorld::ExecOnStore(const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((home_ / "orbeck.db").string().c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  std::string message = error != nullptr ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message;
  // The loader seals every store it writes; a store changed here is sealed again as it is.
  std::string sealError;
  ASSERT_TRUE(WriteSeal(home_ / "orbeck.db", SealPathOf(home_ / "orbeck.db"), sealError)) << sealError;
}

std::string RuntimeWorld::StoreSql(const char* name) {
  const char* source = std::getenv("VELMORA_SOURCE_DIR");
  std::string sql = source != nullptr
                        ? velmora::test::ReadBytes(std::filesystem::path(source) / "orbeck/store" / name)
                        : "";
  EXPECT_FALSE(sql.empty()) << name;
  return sql;
}

void RuntimeWorld::BuildStore(const std::string& extraSql) {
  ExecOnStore("BEGIN;" + StoreSql("schema.sql") + extraSql + StoreSql("postings.sql") + "COMMIT;");
}

void RuntimeWorld::AddJournalRows(const std::string& sql) {
  ExecOnStore("BEGIN;" + sql + StoreSql("postings.sql") + "COMMIT;");
}

void RuntimeWorld::BuildStandardStore(const std::string& extraSql) { BuildStore(kStandardSql + extraSql); }

void RuntimeWorld::AttachStandard() {
  BuildStandardStore();
  ASSERT_EQ(ClAccConnect::Inst().Initiate(), 0);
}

std::string RuntimeWorld::ReadStoreBytes() const { return velmora::test::ReadBytes(home_ / "orbeck.db"); }

}  // namespace orbeck::test

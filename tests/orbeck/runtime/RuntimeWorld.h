// A host installation in a temporary folder for the runtime's tests: the store is built
// here directly from the committed schema with SQL, so the runtime is tested against rows
// whose bytes the test itself chose. ORBECK_HOME points at the folder while the world lives.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace orbeck::test {

class RuntimeWorld : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates orbeck.db from the schema and runs extraSql on it, then fills the ledger
  // table from the journal rows (one transaction).
  void BuildStore(const std::string& extraSql);
  // Runs sql that adds journal rows, then fills the ledger table again.
  void AddJournalRows(const std::string& sql);
  // A file of orbeck/store in the source tree.
  static std::string StoreSql(const char* name);
  // The standard company of these tests (see RuntimeWorld.cpp), then extraSql.
  void BuildStandardStore(const std::string& extraSql = {});
  // Runs SQL on the store file outside the runtime and seals the result.
  void ExecOnStore(const std::string& sql);
  // Builds the standard store and attaches the runtime to it.
  void AttachStandard();
  std::string ReadStoreBytes() const;

  std::filesystem::path root_;
  std::filesystem::path home_;
};

}  // namespace orbeck::test

// Postings under one yen, exported through the whole program: the writer prints their
// movement as 0 (whole yen, cut toward zero), and velmora-inspect's check and libxml2 with
// the document's schema both accept the ledger that results.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/app/RunFixture.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/ExpectHoldsTogether.h"

using nlohmann::json;
using velmora::test::ExecuteScript;
using velmora::test::RunFixture;
using velmora::test::TestHost;

namespace {

json Sale(int id, int date, int debit, int credit, const char* amount) {
  return {{"id", id},
          {"date", date},
          {"adjustment", 0},
          {"lines", json::array({{{"debit", debit},
                                  {"debitAmount", amount},
                                  {"credit", credit},
                                  {"creditAmount", amount},
                                  {"description", "端数"}}})}};
}

TEST(SubYenPosting, PrintedAsZeroTheLedgerStillHoldsTogether) {
  json company = TestHost::MinimalCompany();
  json& journals = company["data"][0]["journals"];
  // Cash moves by +0.6, +0.6 (its running balance crosses a yen with a movement printed as
  // 0) and -0.3 (a negative movement that is cut to 0 as well).
  journals.push_back(Sale(2, 20240501, 1110000, 8110000, "0.6"));
  journals.push_back(Sale(3, 20240502, 1110000, 8110000, "0.6"));
  journals.push_back(Sale(4, 20240503, 8110000, 1110000, "0.3"));
  RunFixture run(company);
  ASSERT_EQ(0, run.Run("", ExecuteScript("fractions.xml")));
  const std::filesystem::path document = run.COut() / "fractions.xml";
  const std::string bytes = velmora::test::ReadBytes(document);
  EXPECT_NE(std::string::npos, bytes.find("<HJ00780S0110>0</HJ00780S0110>")) << "no movement printed as 0";
  EXPECT_NE(std::string::npos, bytes.find("<HJ00780S0120>500001</HJ00780S0120>"))
      << "cash never reached 500001";
  inspect::test::ExpectHoldsTogether(document);
  const std::string schema = std::string(std::getenv("VELMORA_SOURCE_DIR")) + "/docs/rc25.xsd";
  EXPECT_EQ(0, velmora::test::RunCommand("xmllint --noout --schema '" + schema + "' '" + document.string() +
                                         "' > /dev/null 2>&1"));
}

}  // namespace

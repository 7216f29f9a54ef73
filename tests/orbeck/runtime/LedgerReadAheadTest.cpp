// The ledger read ahead over a generated company: whatever order the program asks for the
// ledgers in (the chart's, backwards, skipping, repeating, another date range or month
// find midway), the cursor hands out the same postings, byte for byte, and passes its read
// points as often as when it reads every ledger itself (as it does while a fault is set).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "bench/CompanyGenerator.h"
#include "orbeck/HostStore.h"
#include "orbeck/StoreStatement.h"
#include "platform/Faults.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/support/TestHost.h"

namespace {

using velmora::test::TestHost;

struct Ask {
  int32_t accountCode;
  int32_t from;
  int32_t to;
  bool withoutInterim;  // the find the program gives: month code other than the interim adjustment
};

// Every posting of every ledger asked, as bytes, in the order asked.
std::string ReadLedgers(const std::vector<Ask>& asks) {
  std::string bytes;
  StFINDINFO withoutInterim{};
  withoutInterim.cond[0].item = hostcode::kFindMonthCode;
  withoutInterim.cond[0].comparison = hostcode::kNotEqual;
  withoutInterim.cond[0].valueType = hostcode::kLongValue;
  withoutInterim.cond[0].longValue = hostcode::kMonthInterimAdjustment;
  withoutInterim.cond[0].link = hostcode::kLinkLast;
  for (const Ask& ask : asks) {
    // A cursor per account, as the program makes them.
    ClRuleMotocho ledger;
    ledger.SetCurDataID("DEMO01");
    StMOTOCHOHYOJIINFO view{};
    view.accountCode = ask.accountCode;
    view.startDate = ask.from;
    view.endDate = ask.to;
    const StFINDINFO* find = ask.withoutInterim ? &withoutInterim : nullptr;
    EXPECT_EQ(ledger.MoveReady(find, nullptr, &view), 0);
    long count = -1;
    EXPECT_EQ(ledger.GetCount(find, &view, &count), 0);
    bytes += "[" + std::to_string(ask.accountCode) + ":" + std::to_string(count) + "]";
    StMOTOCHOINFO posting{};
    for (long status = ledger.MoveFirst(&posting); status == 0; status = ledger.MoveNext(&posting)) {
      StMOTOCHOINFO clean{};  // padding is no part of a posting
      clean.journalId = posting.journalId;
      clean.lineNo = posting.lineNo;
      clean.date = posting.date;
      clean.counterKind = posting.counterKind;
      clean.side = posting.side;
      clean.debitCode = posting.debitCode;
      clean.debitAmount = posting.debitAmount;
      clean.debitTax = posting.debitTax;
      clean.creditCode = posting.creditCode;
      clean.creditAmount = posting.creditAmount;
      clean.creditTax = posting.creditTax;
      std::memcpy(clean.description, posting.description, sizeof clean.description);
      bytes.append(reinterpret_cast<const char*>(&clean), sizeof clean);
    }
    ledger.MoveFinish();
  }
  return bytes;
}

struct Reading {
  std::string postings;
  std::string readPoints;   // every point passed and how often, the statements' steps included
  std::uint64_t taken = 0;  // ledgers the read ahead handed over
};

// The ledgers asked for in a session of their own, which ends before the read points are
// listed: a statement counts its steps when the session that kept it closes. `own` sets a
// fault that never fires, which turns the read ahead off.
Reading ReadInASession(const std::vector<Ask>& asks, bool own) {
  Reading reading;
  EXPECT_EQ(ClAccConnect::Inst().Initiate(), 0);
  if (own) platform::faults::Set("NoSuchPoint");
  orbeck::LedgerReadAhead* ahead = orbeck::HostStore::Session().ReadAhead();
  EXPECT_EQ(ahead == nullptr, own);
  orbeck::ResetReadPointUses();
  reading.postings = ReadLedgers(asks);
  if (ahead != nullptr) reading.taken = ahead->Taken();
  ClAccConnect::Inst().LogOut();
  ClAccConnect::Inst().Terminate();
  ClAccConnect::Inst().Release();
  platform::faults::Clear();
  for (const orbeck::ReadPointUse& use : orbeck::ReadPointUses())
    reading.readPoints += use.faultEntry + " " + std::to_string(use.passes) + "\n";
  return reading;
}

TEST(LedgerReadAhead, EveryOrderGivesThePostingsOfTheCursorsOwnRead) {
  const nlohmann::json demo = TestHost::LoadDemoCompany();
  ASSERT_FALSE(demo.is_null());
  velmora::bench::CompanyOptions options;
  options.journals = 1500;
  options.accounts = 200;
  options.interimClosing = true;
  options.linesOnTaxAccounts = true;
  std::ostringstream json;
  velmora::bench::CompanyCounts counts;
  std::string error;
  ASSERT_TRUE(velmora::bench::WriteCompany(demo, options, json, {}, counts, error)) << error;
  TestHost host(nlohmann::json::parse(json.str()));
  ASSERT_TRUE(host.loaded());

  std::vector<int32_t> accounts;
  for (const auto& account : demo["data"][0]["accounts"])
    if (account["code"].get<int32_t>() % 10000 == 0) accounts.push_back(account["code"].get<int32_t>());
  std::sort(accounts.begin(), accounts.end());
  ASSERT_GT(accounts.size(), 20u);

  const int32_t first = 20240401;
  const int32_t last = 20250331;
  std::vector<std::vector<Ask>> orders(5);
  for (int32_t code : accounts) orders[0].push_back({code, first, last, true});
  for (auto code = accounts.rbegin(); code != accounts.rend(); ++code)
    orders[1].push_back({*code, first, last, true});
  for (std::size_t i = 0; i < accounts.size(); i += 3) orders[2].push_back({accounts[i], first, last, true});
  for (int32_t code : accounts) {
    orders[3].push_back({code, first, last, true});
    orders[3].push_back({code, first, last, true});
  }
  // Half the chart over the whole year with every month code, then the rest over one quarter.
  for (std::size_t i = 0; i < accounts.size(); ++i)
    orders[4].push_back(i < accounts.size() / 2 ? Ask{accounts[i], first, last, false}
                                                : Ask{accounts[i], 20240701, 20240930, true});

  for (std::size_t order = 0; order < orders.size(); ++order) {
    SCOPED_TRACE("order " + std::to_string(order));
    const Reading ahead = ReadInASession(orders[order], false);
    const Reading own = ReadInASession(orders[order], true);
    EXPECT_GT(own.postings.size(), 100000u);
    EXPECT_TRUE(ahead.postings == own.postings) << "the postings differ";
    EXPECT_NE(own.readPoints.find("StoreRead@"), std::string::npos);
    EXPECT_EQ(ahead.readPoints, own.readPoints);
    if (order == 0) {
      EXPECT_GT(ahead.taken, accounts.size() / 2) << "the read ahead served too few ledgers";
    }
  }
}

}  // namespace

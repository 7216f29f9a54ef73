// The document writer's test fixture: a writer over a temporary folder as the current
// folder, the reference data of every kind of element, and the output's checks.
#pragma once

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "platform/Faults.h"
#include "platform/WinFs.h"
#include "platform/ui/UiBackend.h"
#include "runstate/EditionProfile.h"
#include "runstate/ProgressWindow.h"
#include "tests/support/Process.h"
#include "xmlout/StatementWriter.h"

inline constexpr int64_t kYen = 10000;

inline std::string GoldenBytes(const std::string& name) {
  return velmora::test::WrittenForm("xmlout/" + name);
}

inline void AddLedger(LedgerLineList& ledger, int32_t account, int32_t lineNo, const char* date,
                      const char* sub, const char* counter, const char* description, int64_t amount,
                      int64_t balance) {
  LedgerLine row;
  row.accountCode = account;
  row.lineNo = lineNo;
  row.dateText = KeptText(ledger, date);
  row.subAccountName = KeptText(ledger, sub);
  row.counterAccountName = KeptText(ledger, counter);
  row.description = KeptText(ledger, description);
  row.amount = amount;
  row.balance = balance;
  ledger.push_back(row);
}

class XmlDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&profile, 0, sizeof profile);
    Cp932("ABC商事ｶﾌﾞ").copy(profile.companyName, 259);
    profile.periodStart = 20250401;
    profile.periodEnd = 20260331;
    previousFolder = platform::win::_getcwd();
    ASSERT_TRUE(platform::win::_chdir(folder.Windows("")));
    inputs.statementLines = &lines;
    inputs.ledgerLines = &ledger;
    inputs.noteLines = &notes;
    inputs.noteDispFlags = flags;
  }
  void TearDown() override {
    // Every document a test leaves behind must be well-formed XML.
    // Under Wine xmllint cannot be started; the Linux build checks the same bytes.
    if (velmora::test::kHasUnixTools && Output().starts_with("<?xml")) {
      EXPECT_TRUE(WellFormed(folder.LinuxPath("out.xml")));
    }
    platform::win::_chdir(previousFolder);
    platform::faults::Clear();
  }

  // The data of the reference document: every kind of statement element, a statement of
  // changes with net income, a nested note and two ledger forms.
  // Amounts that add up as the host's totals do (fractions of a yen included), so that the
  // reference document also holds together for velmora-inspect.
  void FillReferenceData() {
    profile.patternFlag = 1;
    lines = {
        MakeLine(0x80800000, "資産の部", 500300 * kYen + 1214567, 2),
        MakeLine(0x80880000, "流動資産合計", 1214567, 2),
        MakeLine(0x80880800, "現金", 1234567, 0, 1110000),
        MakeLine(0x80880400, "【普通預金】", 5000),
        MakeLine(0x80880400, "売掛金 ", -25000, 3),
        MakeLine(0x80840000, "固定資産合計", 500300 * kYen, 2),
        MakeLine(0x80848000, "有形固定資産合計", 500000 * kYen, 2),
        MakeLine(0x80848400, "建物", 500000 * kYen),
        MakeLine(0x80840008, "長期前払費用", 300 * kYen),
        MakeLine(0x80400000, "負債の部合計", 200 * kYen, 2),
        MakeLine(0x80480400, "未払金", 200 * kYen, 0, 3110000),
        MakeLine(0x80200000, "純資産の部合計", 500221 * kYen, 2),
        MakeLine(0x80288000, "資本金", 500071 * kYen),
        MakeLine(0x80281048, "繰越利益剰余金", 150 * kYen),
        MakeLine(0x40888000, "売上高合計", 1000 * kYen, 2),
        MakeLine(0x40888400, "売上高", 1000 * kYen),
        MakeLine(0x40884200, "(製)製品製造原価", 600 * kYen, 3),
        MakeLine(0x40880008, "売上総利益", 400 * kYen, 2),
        MakeLine(0x40800000, "経常利益", 400 * kYen, 2),
        MakeLine(0x40200080, "税引前当期純利益", 400 * kYen, 2),
        MakeLine(0x40200100, "法人税等", 350 * kYen),
        MakeLine(0x40200040, "当期純利益", 50 * kYen, 2),
        MakeLine(0x20800400, "(製)材料費", 600 * kYen),
        MakeLine(0x20040400, "外注費", 100 * kYen),
        MakeLine(0x20080000, "当期総製造費用", 600 * kYen, 2),
    };
    Cp932("売上総損益").copy(lines[17].altName, 30);
    lines[12].openingAmount = 500071 * kYen;
    lines[13].openingAmount = 100 * kYen;
    lines[13].periodAmount = 50 * kYen;
    lines[21].periodAmount = 50 * kYen;

    inputs.notesPresent = 1;
    flags[2] = 1;
    for (const char* line :
         {"<ID>1060010", "<Name>x", "<Kind>0", "<Disp>1", "<Value>", "<Line>担保資産 A&B</Line>", "</Value>",
          "<ID>1060020", "<Name>y", "<Kind>0", "<Disp>1", "<Value>", "<Line>建物 500,000円</Line>",
          "<Line></Line>", "</Value>"}) {
      notes.push_back(Cp932(line));
    }
    AddLedger(ledger, 1110000, 1, "令和7年4月1日", "", "売上高", "売上 A社", 1000 * kYen, 1000 * kYen);
    AddLedger(ledger, 1110000, 2, "令和7年4月2日", "", "諸口", "入金", -5005000, 4995000);
    AddLedger(ledger, 3110000, 1, "令和7年4月3日", "【本社】", "現金", "支払", 200 * kYen, 200 * kYen);
  }

  std::string Output() const { return ReadBytes(folder.LinuxPath("out.xml")); }
  bool NoTemporaryLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder.LinuxPath(""))) {
      if (entry.path().filename().string().starts_with("~vm")) return false;
    }
    return true;
  }
  int Write(int16_t functionId = 3) {
    return writer.WriteDocument(folder.Windows("out.xml"), functionId, profile);
  }

  TempFolder folder;
  std::string previousFolder;
  StDATAINFO profile{};
  StatementLineList lines;
  LedgerLineList ledger;
  std::vector<std::string> notes;
  uint8_t flags[50] = {};
  WriterInputs inputs;
  ReadFailure failure;
  StatementWriter writer{kVelmora1, inputs, failure};
};

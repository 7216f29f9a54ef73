// The column map of a journal CSV (the account map's "csv" member): which column holds the
// date, the slip number, the row kind, each side's account, sub-account, tax class, amount
// and tax, and the description; the file's encoding; the tax classes the file may use.
// Columns are named by their header text or by their number (from 1).
#pragma once

#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace orbeck::import {

enum class CsvEncoding { Detect, ShiftJis, Utf8 };

struct CsvColumn {
  std::string name;  // the header's text (UTF-8); empty when given by number
  int number = 0;    // from 1; 0 when given by name
  bool Mapped() const { return !name.empty() || number > 0; }
};

struct CsvSide {
  CsvColumn account, subAccount, taxClass, amount, tax;
};

struct CsvLayout {
  CsvEncoding encoding = CsvEncoding::Detect;
  char delimiter = ',';
  bool header = true;  // the first record names the columns
  // Slip numbers start again each day: an entry is the records of one slip number and date.
  bool slipsPerDay = false;
  CsvColumn date, slip, kind, description;
  CsvSide debit, credit;
  // With a kind column: the kinds that open an entry and those that continue it.
  std::vector<std::string> startKinds, continueKinds;
  // Tax class -> whether a tax amount may stand beside it. An empty class is always known.
  std::map<std::string, bool> taxClasses;
};

// The common Japanese layout: 日付, 伝票番号, 借方勘定科目 … 貸方税額, 摘要, with the usual tax
// classes; no kind column.
CsvLayout DefaultCsvLayout();

// The layout the map's "csv" member gives, over the defaults; 0 with a message naming the
// member that is wrong.
int ReadCsvLayout(const nlohmann::json& member, CsvLayout& layout, std::string& error);

}  // namespace orbeck::import

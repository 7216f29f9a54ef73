// A book sink for the sources' tests that writes what it takes as lines of text, one per
// account, transaction and posting, so that a whole book compares as one string with a
// readable diff.
#pragma once

#include <string>

#include "tools/orbeck-import/Books.h"

namespace orbeck::import {

class BookRecorder : public BookSink {
 public:
  std::string text;

  int Take(const SourceAccount& account, std::string&) override {
    static const char* const kTypes[] = {"unknown", "asset", "liability", "equity", "revenue", "expense"};
    text += "account " + account.path + " " + kTypes[static_cast<int>(account.type)] + "\n";
    return 1;
  }

  int Take(const Transaction& t, std::string&) override {
    text += std::to_string(t.date) + " [" + t.slip + "] " + t.description + " @" + t.origin + "\n";
    for (const Posting& p : t.postings) {
      text += "  " + p.account + " " + std::to_string(p.amount);
      if (p.tax != 0 || !p.taxClass.empty()) text += " tax " + std::to_string(p.tax) + " " + p.taxClass;
      if (p.pair >= 0) text += " pair " + std::to_string(p.pair);
      text += " @" + p.origin + "\n";
    }
    return 1;
  }
};

}  // namespace orbeck::import

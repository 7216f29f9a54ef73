// A GnuCash SQLite book -> books: the account tree under the book's root (scheduled
// transactions' templates left out), account types from GnuCash's own, and every
// transaction's splits at their exact value in ten-thousandths of a yen.
#pragma once

#include <optional>
#include <string>

#include "tools/orbeck-import/Books.h"

namespace orbeck::import {

struct GnuCashOptions {
  // The book's time zone in minutes east of UTC, needed for the dates of old books.
  std::optional<int> utcOffsetMinutes;
};

// Reads the book at `path` (opened read-only). 0 with one line naming the account, the
// transaction or the split when the book is refused: a commodity or currency other than
// yen, a price (a quantity other than the value), an amount finer than four decimals, an
// unbalanced transaction, an Imbalance- or Orphan- account with a balance, an old book's
// date without the time zone; or the sink's own message when it stops the reading.
int ReadGnuCashBooks(const std::string& path, const GnuCashOptions& options, BookSink& sink,
                     std::string& error);

}  // namespace orbeck::import

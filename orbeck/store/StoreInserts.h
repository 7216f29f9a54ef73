// The store's rows written from the records through one connection, inside the caller's
// transaction. Journals may go in on their own, ahead of the rest (StoreWriter).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orbeck/store/HostDocument.h"
#include "orbeck/store/PostingRows.h"
#include "orbeck/store/RowInserts.h"
#include "orbeck/store/StoreDatabase.h"

namespace orbeck::store {

// A line's row: its key and the line it holds.
struct LineRow {
  int32_t journalId = 0;
  int64_t lineNo = 0;
  const JournalLineRecord* line = nullptr;
};

// The two journal tables' prepared inserts; the journals' lines are not read.
class JournalInserts {
 public:
  explicit JournalInserts(Database& db);
  bool Ok() const { return journals_.Ok() && lines_.Ok(); }
  bool Journals(const std::string& dataId, const std::vector<const JournalRecord*>& rows);
  bool Lines(const std::string& dataId, const std::vector<LineRow>& rows);

 private:
  RowInserts journals_;
  RowInserts lines_;
};

// Every table but the ledger's; the journals of data record i only when !journalsWritten[i].
bool InsertTables(Database& db, const HostDocument& document, const std::vector<bool>& journalsWritten);

// The ledger table's rows of data record `ord`, `rows` as PostingRowsOf gives them.
bool InsertPostings(Database& db, int64_t ord, const std::vector<PostingRow>& rows);

}  // namespace orbeck::store

// The store's rows written from the records through one connection, inside the caller's
// transaction. Journals may go in on their own, ahead of the rest (StoreWriter).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orbeck/store/HostDocument.h"
#include "orbeck/store/PostingRows.h"
#include "orbeck/store/StoreDatabase.h"

namespace orbeck::store {

// The two journal tables' prepared inserts.
class JournalInserts {
 public:
  explicit JournalInserts(Database& db);
  bool Ok() const { return journal_.Ok() && line_.Ok(); }
  // `dataId` and `description` must outlive the call only.
  bool Journal(const std::string& dataId, int32_t id, int32_t date, int adjustment);
  bool Line(const std::string& dataId, int32_t journalId, int64_t lineNo, const JournalLineRecord& line,
            std::string_view description);

 private:
  Statement journal_;
  Statement line_;
};

// Every table but the ledger's; the journals of data record i only when !journalsWritten[i].
bool InsertTables(Database& db, const HostDocument& document, const std::vector<bool>& journalsWritten);

// The ledger table's rows of data record `ord`, `rows` as PostingRowsOf gives them.
bool InsertPostings(Database& db, int64_t ord, const std::vector<PostingRow>& rows);

}  // namespace orbeck::store

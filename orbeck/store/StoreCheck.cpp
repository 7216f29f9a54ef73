// The full check of a store: SQLite's own check of every page and index, and the seal.
#include <filesystem>

#include "orbeck/StoreSeal.h"
#include "orbeck/store/StoreDatabase.h"
#include "orbeck/store/StoreFile.h"

namespace orbeck::store {

int CheckStore(const std::filesystem::path& storePath, std::vector<std::string>& problems) {
  problems.clear();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(storePath, ec)) {
    problems.push_back(storePath.string() + ": no store");
    return 0;
  }
  switch (CheckSeal(storePath)) {
    case SealCheck::Intact:
      break;
    case SealCheck::Missing:
      problems.push_back(SealPathOf(storePath).string() +
                         ": no seal (the store was not written by the loader)");
      break;
    case SealCheck::Mismatch:
      problems.push_back(storePath.string() + ": the store differs from its seal");
      break;
    case SealCheck::Unreadable:
      problems.push_back(storePath.string() + ": cannot be read");
      break;
  }
  Database db(storePath, SQLITE_OPEN_READONLY);
  sqlite3_stmt* check = nullptr;
  if (!db.Ok() ||
      sqlite3_prepare_v2(db.Handle(), "PRAGMA integrity_check", -1, &check, nullptr) != SQLITE_OK) {
    problems.push_back(storePath.string() + ": " + db.Message());
    sqlite3_finalize(check);
    return 0;
  }
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(check)) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
    const std::string line = text != nullptr ? text : "";
    if (line != "ok") problems.push_back(storePath.string() + ": " + line);
  }
  if (rc != SQLITE_DONE) problems.push_back(storePath.string() + ": " + db.Message());
  sqlite3_finalize(check);
  return problems.empty() ? 1 : 0;
}

}  // namespace orbeck::store

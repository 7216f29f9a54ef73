// Writes a new store: journals as the reader hands them over (on a thread of its own, into
// the new file), the rest once the whole document is read and checked. The file replaces
// the store only when complete; a writer destroyed before Finish, or a failed Finish, leaves
// no new file behind and the old store as it was.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "orbeck/store/HostDocument.h"
#include "orbeck/store/JournalSink.h"

namespace orbeck::store {

class StoreWriter final : public JournalSink {
 public:
  explicit StoreWriter(std::filesystem::path storePath);
  ~StoreWriter() override;
  StoreWriter(const StoreWriter&) = delete;
  StoreWriter& operator=(const StoreWriter&) = delete;

  void Take(std::size_t dataIndex, const std::string* dataId, const JournalRecord& journal) override;
  void Forget() override;

  // Writes `document` (its sums filled) in full and puts the store in place: what was taken
  // early stays when it is exactly the document's, otherwise the file is begun again.
  // 1 written; 0 with a message in `error`.
  int Finish(const HostDocument& document, std::string& error);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orbeck::store

// Where the reader hands each journal as soon as it is read and found valid on its own, so
// that the store's writing can go on while the rest of the document is still being read.
#pragma once

#include <cstddef>
#include <string>

#include "orbeck/store/HostDocument.h"

namespace orbeck::store {

class JournalSink {
 public:
  virtual ~JournalSink() = default;
  // Journal number n of data record `dataIndex` (n counted by the calls). `dataId` is the
  // record's id as read so far, null while the record has not given one; the document as a
  // whole is not checked yet, so anything taken may still be refused.
  virtual void Take(std::size_t dataIndex, const std::string* dataId, const JournalRecord& journal) = 0;
  // The journals taken so far are void: the document is read again from its start.
  virtual void Forget() = 0;
};

}  // namespace orbeck::store

// Writes the blocks of one file on a thread of its own, so that the kernel copies one block
// into the file while the caller composes the next: a document of hundreds of megabytes
// costs the caller its composing, not the writing too. Where the system allows it (Linux),
// writeback of each written block is started at once, so that the sync at the end finds
// little left to do.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace platform::win {

class BlockWriter {
 public:
  explicit BlockWriter(int fd);
  // Waits for the blocks handed over; the descriptor stays open.
  ~BlockWriter();
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  // Takes the block and leaves `block` empty (with a buffer to fill again). False when a
  // block handed over earlier could not be written.
  bool Submit(std::string& block);
  // Waits until every block handed over is in the file; false when any could not be written.
  bool Drain();

 private:
  void Run();

  int fd_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string pending_;  // handed over, not yet taken by the thread
  std::string writing_;  // the block the thread writes
  bool hasPending_ = false;
  bool busy_ = false;
  bool failed_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace platform::win

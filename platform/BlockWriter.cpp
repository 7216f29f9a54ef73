// One block waits while one is written: the caller blocks only when it is two blocks ahead.
#include "platform/BlockWriter.h"

#include <chrono>
#include <cstdint>

#include "platform/Faults.h"
#include "platform/SystemFiles.h"

namespace platform::win {

namespace {

// The "BlockWrite" fault point: the block fails, and only after a while, as a disk that
// answers late does; so a test sees whether the waits for the blocks cover the one being
// written.
bool FailsLate() {
  if (!faults::Hit("BlockWrite")) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  return true;
}

}  // namespace

BlockWriter::BlockWriter(int fd) : fd_(fd), thread_([this] { Run(); }) {}

BlockWriter::~BlockWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool BlockWriter::Submit(std::string& block) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !hasPending_; });
  pending_.swap(block);
  block.clear();
  hasPending_ = true;
  const bool ok = !failed_;
  lock.unlock();
  changed_.notify_all();
  return ok;
}

bool BlockWriter::Drain() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !hasPending_ && !busy_; });
  return !failed_;
}

void BlockWriter::Run() {
  std::int64_t offset = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return hasPending_ || stopping_; });
    if (!hasPending_) return;
    writing_.swap(pending_);
    hasPending_ = false;
    busy_ = true;
    const bool skip = failed_;
    lock.unlock();
    changed_.notify_all();
    bool ok = true;
    if (!skip) {
      ok = !FailsLate() && platform::detail::WriteAll(fd_, writing_.data(), writing_.size());
      if (ok) platform::detail::StartWriteback(fd_, offset, writing_.size());
      offset += static_cast<std::int64_t>(writing_.size());
    }
    writing_.clear();
    lock.lock();
    failed_ = failed_ || !ok;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace platform::win

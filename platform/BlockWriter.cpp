// One block waits while one is written: the caller blocks only when it is two blocks ahead.
#include "platform/BlockWriter.h"

#include <cstdint>

#include "platform/SystemBlocks.h"

namespace platform::win {

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
      ok = detail::WriteBlock(fd_, writing_.data(), writing_.size(), offset);
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

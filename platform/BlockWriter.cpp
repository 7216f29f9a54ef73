// One block waits while one is written: the caller blocks only when it is two blocks ahead.
#include "platform/BlockWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform::win {
namespace {

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
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
  off_t offset = 0;
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
      ok = WriteAll(fd_, writing_.data(), writing_.size());
      if (ok) {
        // Only a hint: the sync at close makes the file durable either way.
        ::sync_file_range(fd_, offset, static_cast<off_t>(writing_.size()), SYNC_FILE_RANGE_WRITE);
        offset += static_cast<off_t>(writing_.size());
      }
    }
    writing_.clear();
    lock.lock();
    failed_ = failed_ || !ok;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace platform::win

// FIFOs for the tests of inputs that must never be waited on (Linux only). A reader that
// opens a FIFO with no writer waits for one, and a read waits for data: a regression there
// would hang the test. The guard runs the code under test on a thread of its own and, when
// it has not returned in time, plays the writer that opens the FIFO and closes it at once,
// so that the stuck reader sees the end of the file and the test fails instead of hanging.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <system_error>
#include <thread>

namespace velmora::test {

// Puts a FIFO at path, in place of whatever is there.
inline bool MakeFifo(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return ::mkfifo(path.c_str(), 0600) == 0;
}

// Runs call; true when it returned within the limit without anyone writing to the FIFO.
// The result of call is left in result.
template <class Call, class Result>
bool ReturnsWithoutWaitingOn(const std::filesystem::path& fifo, Call call, Result& result,
                             std::chrono::seconds limit = std::chrono::seconds(5)) {
  std::future<Result> running = std::async(std::launch::async, call);
  const bool inTime = running.wait_for(limit) == std::future_status::ready;
  while (running.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    // Fails while no reader has the FIFO open; each success ends one read of it.
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
  }
  result = running.get();
  return inTime;
}

}  // namespace velmora::test

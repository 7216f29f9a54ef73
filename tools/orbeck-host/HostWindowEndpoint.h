// The host shell's window: a Unix datagram socket $ORBECK_HOME/windows/<handle> with a fresh
// handle, on which the program's window calls arrive as one text line each.
#pragma once

#include <optional>
#include <string>

class HostWindowEndpoint {
 public:
  HostWindowEndpoint() = default;
  ~HostWindowEndpoint();
  HostWindowEndpoint(const HostWindowEndpoint&) = delete;
  HostWindowEndpoint& operator=(const HostWindowEndpoint&) = delete;

  // Creates the folder when needed and binds the first free handle from firstHandle on;
  // false with error filled when that fails.
  bool Open(const std::string& windowsFolder, long firstHandle, std::string& error);
  long Handle() const { return handle_; }
  // The next datagram, waiting at most timeoutMs; none when nothing came.
  std::optional<std::string> Receive(int timeoutMs);

 private:
  int fd_ = -1;
  long handle_ = 0;
  std::string path_;
};

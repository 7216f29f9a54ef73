// The lock that serialises the loads of one home: a load holds it from before its first
// file until its store is in place, so no two loads interleave their files and seals, and
// whatever temporary files the home holds while its lock is free are a dead load's.
// On Linux the home folder itself is locked (flock), so no lock file is left in the home;
// on Windows an exclusively opened file that goes when its handle closes. The system drops
// the lock of a load that is killed.
#pragma once

#include <filesystem>
#include <string>

namespace orbeck::store {

class HomeLock {
 public:
  HomeLock() = default;
  ~HomeLock();
  HomeLock(const HomeLock&) = delete;
  HomeLock& operator=(const HomeLock&) = delete;

  // Takes the lock of `home` (which must exist) without waiting: false with a message when
  // another load holds it or the folder cannot be locked.
  bool Take(const std::filesystem::path& home, std::string& error);

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace orbeck::store

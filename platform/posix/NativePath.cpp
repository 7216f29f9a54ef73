// Linux paths: absolute from "/", segments by name, stat(2) for the file stamp.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "platform/NativePath.h"
#include "platform/WinTypes.h"

namespace platform::native {

bool IsAbsoluteFolder(std::string_view folder) { return !folder.empty() && folder[0] == '/'; }

std::string NormalizeFolder(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::optional<std::string> Absolute(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::string absolute = path;
  if (absolute[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return std::nullopt;
    absolute = std::string(cwd) + "/" + absolute;
  }
  std::string normalized;
  std::size_t start = 0;
  while (start <= absolute.size()) {
    std::size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    std::string_view segment(absolute.data() + start, end - start);
    if (segment == "..") {
      std::size_t last = normalized.rfind('/');
      normalized.resize(last == std::string::npos ? 0 : last);
    } else if (!segment.empty() && segment != ".") {
      normalized += '/';
      normalized += segment;
    }
    start = end + 1;
  }
  return normalized.empty() ? std::string("/") : normalized;
}

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                   static_cast<std::uint64_t>(st.st_size),
                   static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

std::optional<std::string> ProgramFolder() {
  char exe[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (length <= 0) return std::nullopt;
  const std::string path(exe, static_cast<std::size_t>(length));
  const std::size_t slash = path.find_last_of('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The Linux build always has a map; there is no real drive behind a letter.
unsigned RealDriveType(const std::string&) { return DRIVE_NO_ROOT_DIR; }

}  // namespace platform::native

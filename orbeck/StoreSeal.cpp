// The seal file holds lines of "xxh3-64 <16 hex digits> <size in bytes>"; new files are
// created exclusively and made durable before anything renames them into place.
#include "orbeck/StoreSeal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#endif

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

namespace orbeck {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// The store's bytes through the C runtime's descriptors, so that every read error is seen;
// on Windows the name is wide.
#ifdef _WIN32
int OpenDescriptor(const std::filesystem::path& file) {
  return ::_wopen(file.c_str(), _O_RDONLY | _O_BINARY);
}
int OpenForSync(const std::filesystem::path& file) { return ::_wopen(file.c_str(), _O_RDWR | _O_BINARY); }
// CREATE_NEW underneath: an existing name, a link included, is never opened.
int CreateNew(const std::filesystem::path& file) {
  return ::_wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long ReadSome(int fd, char* data, std::size_t size) { return ::_read(fd, data, static_cast<unsigned>(size)); }
long WriteSome(int fd, const char* data, std::size_t size) {
  return ::_write(fd, data, static_cast<unsigned>(size));
}
bool SyncDescriptor(int fd) { return ::_commit(fd) == 0; }
int CloseFile(int fd) { return ::_close(fd); }
int ProcessId() { return ::_getpid(); }
#else
// The open does not wait, as it would for a FIFO's writer.
int OpenDescriptor(const std::filesystem::path& file) {
  return ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}
int OpenForSync(const std::filesystem::path& file) { return OpenDescriptor(file); }
int CreateNew(const std::filesystem::path& file) {
  return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}
long ReadSome(int fd, char* data, std::size_t size) { return ::read(fd, data, size); }
long WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
bool SyncDescriptor(int fd) { return ::fsync(fd) == 0; }
int CloseFile(int fd) { return ::close(fd); }
int ProcessId() { return static_cast<int>(::getpid()); }
#endif

// Only a regular file is read: a FIFO or a device named orbeck.db or its seal would make
// the read wait for ever or never end.
int OpenForReading(const std::filesystem::path& file) {
  const int fd = OpenDescriptor(file);
  struct stat st {};
  if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    CloseFile(fd);
    return -1;
  }
  return fd;
}

// The seal file's bytes; none when it cannot be read. A seal is a few short lines: more is
// no seal.
std::optional<std::string> ReadSealFile(const std::filesystem::path& file) {
  const int fd = OpenForReading(file);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[256];
  long got = 0;
  while ((got = ReadSome(fd, buffer, sizeof buffer)) != 0) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || text.size() > 4096) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  CloseFile(fd);
  if (got != 0) return std::nullopt;
  return text;
}

struct StateDeleter {
  void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

}  // namespace

std::filesystem::path SealPathOf(const std::filesystem::path& storePath) {
  std::filesystem::path seal = storePath;
  seal += ".seal";
  return seal;
}

std::optional<std::string> SealLineOf(const std::filesystem::path& file) {
  const int fd = OpenForReading(file);
  if (fd < 0) return std::nullopt;
  std::unique_ptr<XXH3_state_t, StateDeleter> state(XXH3_createState());
  std::vector<char> buffer(kChunk);
  bool ok = state != nullptr && XXH3_64bits_reset(state.get()) == XXH_OK;
  std::uint64_t size = 0;
  while (ok) {
    const long got = ReadSome(fd, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = XXH3_64bits_update(state.get(), buffer.data(), static_cast<std::size_t>(got)) == XXH_OK;
    size += static_cast<std::uint64_t>(got);
  }
  CloseFile(fd);
  if (!ok) return std::nullopt;
  char line[64];
  std::snprintf(line, sizeof line, "xxh3-64 %016" PRIx64 " %" PRIu64 "\n",
                static_cast<std::uint64_t>(XXH3_64bits_digest(state.get())), size);
  return std::string(line);
}

std::optional<std::vector<std::string>> SealLines(const std::filesystem::path& sealPath) {
  std::optional<std::string> text = ReadSealFile(sealPath);
  if (!text) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream in(*text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line + "\n");
  return lines;
}

bool WriteSeal(const std::filesystem::path& file, const std::filesystem::path& sealPath, std::string& error) {
  std::optional<std::string> line = SealLineOf(file);
  if (!line) {
    error = file.string() + ": cannot be read for its seal";
    return false;
  }
  std::filesystem::path temp = sealPath;
  temp += ".tmp-" + std::to_string(ProcessId());
  std::error_code ec;
  std::filesystem::remove(temp, ec);
  if (!WriteNewFile(temp, *line, error)) return false;
  std::filesystem::rename(temp, sealPath, ec);
  if (ec) {
    error = sealPath.string() + ": " + ec.message();
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

SealCheck CheckSeal(const std::filesystem::path& storePath) {
  std::optional<std::vector<std::string>> expected = SealLines(SealPathOf(storePath));
  if (!expected) return SealCheck::Missing;
  std::optional<std::string> actual = SealLineOf(storePath);
  if (!actual) return SealCheck::Unreadable;
  for (const std::string& line : *expected) {
    if (line == *actual) return SealCheck::Intact;
  }
  return SealCheck::Mismatch;
}

bool WriteNewFile(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  const int fd = CreateNew(file);
  if (fd < 0) {
    error = file.string() + ": cannot be created (" + std::strerror(errno) + ")";
    return false;
  }
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const long wrote = WriteSome(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    ok = wrote > 0;
    if (ok) done += static_cast<std::size_t>(wrote);
  }
  ok = ok && SyncDescriptor(fd);
  ok = CloseFile(fd) == 0 && ok;
  if (!ok) {
    error = file.string() + ": cannot be written";
    std::error_code ec;
    std::filesystem::remove(file, ec);
  }
  return ok;
}

bool SyncFile(const std::filesystem::path& file) {
  // On Windows the sync (FlushFileBuffers) needs write access.
  const int fd = OpenForSync(file);
  if (fd < 0) return false;
  const bool synced = SyncDescriptor(fd);
  return CloseFile(fd) == 0 && synced;
}

bool SyncFolder(const std::filesystem::path& folder) {
#ifdef _WIN32
  (void)folder;
  return true;
#else
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
#endif
}

}  // namespace orbeck

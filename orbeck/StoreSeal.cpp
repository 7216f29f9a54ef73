// The seal file holds one line: "xxh3-64 <16 hex digits> <size in bytes>".
#include "orbeck/StoreSeal.h"

#include <fcntl.h>
#include <unistd.h>
#include <xxhash.h>
#ifdef _WIN32
#include <io.h>
#endif

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fstream>
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
int OpenForReading(const std::filesystem::path& file) {
  return ::_wopen(file.c_str(), _O_RDONLY | _O_BINARY);
}
long ReadSome(int fd, char* data, std::size_t size) { return ::_read(fd, data, static_cast<unsigned>(size)); }
void CloseFile(int fd) { ::_close(fd); }
#else
int OpenForReading(const std::filesystem::path& file) { return ::open(file.c_str(), O_RDONLY | O_CLOEXEC); }
long ReadSome(int fd, char* data, std::size_t size) { return ::read(fd, data, size); }
void CloseFile(int fd) { ::close(fd); }
#endif

struct StateDeleter {
  void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

std::optional<std::string> SealLine(const std::filesystem::path& file) {
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

}  // namespace

std::filesystem::path SealPathOf(const std::filesystem::path& storePath) {
  std::filesystem::path seal = storePath;
  seal += ".seal";
  return seal;
}

bool WriteSeal(const std::filesystem::path& file, const std::filesystem::path& sealPath, std::string& error) {
  std::optional<std::string> line = SealLine(file);
  if (!line) {
    error = file.string() + ": cannot be read for its seal";
    return false;
  }
  std::ofstream out(sealPath, std::ios::binary | std::ios::trunc);
  out << *line;
  out.close();
  if (!out) {
    error = sealPath.string() + ": cannot be written";
    return false;
  }
  return true;
}

SealCheck CheckSeal(const std::filesystem::path& storePath) {
  std::ifstream in(SealPathOf(storePath), std::ios::binary);
  if (!in) return SealCheck::Missing;
  std::ostringstream expected;
  expected << in.rdbuf();
  std::optional<std::string> actual = SealLine(storePath);
  if (!actual) return SealCheck::Unreadable;
  return *actual == expected.str() ? SealCheck::Intact : SealCheck::Mismatch;
}

}  // namespace orbeck

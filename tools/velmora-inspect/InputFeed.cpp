// Chunked decoding and the line-end rule (every line, the last included, ends in CR LF).
#include "tools/velmora-inspect/InputFeed.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace inspect {
namespace {

constexpr std::size_t kChunk = 1 << 18;
constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

std::string Hex(unsigned char byte) {
  static const char digits[] = "0123456789ABCDEF";
  return std::string("0x") + digits[byte >> 4] + digits[byte & 0xF];
}

}  // namespace

// Asked before the file is opened: only a regular file is, so that opening a FIFO never
// waits for a writer and a device is never read.
std::string OpenProblem(const Source& source) {
  if (source.memory) return source.bytes.empty() ? "the document is empty" : "";
  const std::string& path = source.path;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) return error.message();
  if (std::filesystem::is_directory(status)) return "it is a folder, not a file";
  if (!std::filesystem::is_regular_file(status))
    return "it is not a regular file (a FIFO, a device or a socket)";
  if (std::filesystem::file_size(path, error) == 0 && !error) return "the file is empty";
  return {};
}

InputFeed::InputFeed(const Source& source) {
  openProblem_ = OpenProblem(source);
  if (!openProblem_.empty()) return;
  if (source.memory) {
    inMemory_ = true;
    memory_ = source.bytes;
    raw_.reserve(kChunk);
    return;
  }
  file_ = std::fopen(source.path.c_str(), "rb");
  if (file_ == nullptr) {
    openProblem_ = std::strerror(errno);
    return;
  }
  raw_.resize(kChunk);
}

InputFeed::~InputFeed() {
  if (file_ != nullptr) std::fclose(file_);
}

long InputFeed::LineAt(const char* bytes, std::size_t offset) const {
  return line_ + static_cast<long>(std::count(bytes, bytes + offset, '\n'));
}

void InputFeed::CheckDeclaration(const char* bytes, std::size_t size) {
  const std::size_t n = sizeof kDeclaration - 1;
  if (size < n || std::memcmp(bytes, kDeclaration, n) != 0) {
    findings_.push_back(
        {Severity::Error, 1, "",
         "the first line is not the declaration <?xml version=\"1.0\" encoding=\"Shift_JIS\"?> "
         "ended by CR LF"});
  }
}

void InputFeed::CheckLineEnds(const char* bytes, std::size_t size) {
  // Every LF must follow a CR and every CR must precede an LF; the first offence of each
  // kind is reported, the rest would repeat it.
  const char* end = bytes + size;
  if (!sawBareLf_) {
    for (const char* p = bytes;
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr;
         ++p) {
      const bool afterCr = p == bytes ? lastWasCr_ : p[-1] == '\r';
      if (!afterCr) {
        findings_.push_back({Severity::Error, LineAt(bytes, static_cast<std::size_t>(p - bytes)), "",
                             "the line ends in LF without CR (every line ends in CR LF)"});
        sawBareLf_ = true;
        break;
      }
    }
  }
  if (!sawBareCr_) {
    for (const char* p = bytes;
         (p = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)))) != nullptr;
         ++p) {
      if (p + 1 < end && p[1] != '\n') {
        findings_.push_back({Severity::Error, LineAt(bytes, static_cast<std::size_t>(p - bytes)), "",
                             "a CR that is not followed by LF (every line ends in CR LF)"});
        sawBareCr_ = true;
        break;
      }
    }
    // A CR at the end of one chunk is judged by the first byte of the next.
    if (!sawBareCr_ && lastWasCr_ && size > 0 && bytes[0] != '\n') {
      findings_.push_back(
          {Severity::Error, line_, "", "a CR that is not followed by LF (every line ends in CR LF)"});
      sawBareCr_ = true;
    }
  }
  if (size > 0) {
    lastWasCr_ = bytes[size - 1] == '\r';
    lastWasLf_ = bytes[size - 1] == '\n';
  }
}

std::size_t InputFeed::Fetch() {
  if (inMemory_) {
    const std::size_t n = std::min(kChunk, memory_.size());
    raw_.assign(memory_.data(), n);
    memory_.remove_prefix(n);
    return n;
  }
  return std::fread(raw_.data(), 1, raw_.size(), file_);
}

bool InputFeed::Refill() {
  decoded_.clear();
  decodedPos_ = 0;
  const std::size_t n = Fetch();
  fetched_ += n;
  if (n == 0) {
    atEnd_ = true;
    if (!decoder_.Finish()) {
      findings_.push_back({Severity::Error, line_, "", "the file ends inside a double-byte character"});
      brokenLine_ = line_;
      broken_ = true;
    } else if (!atStart_ && !lastWasLf_ && !sawBareCr_ && !sawBareLf_) {
      findings_.push_back({Severity::Error, line_, "", "the last line does not end in CR LF"});
    }
    return false;
  }
  const char* bytes = raw_.data();
  if (atStart_) {
    CheckDeclaration(bytes, n);
    atStart_ = false;
  }
  if (!decoder_.Decode(std::string_view(bytes, n), decoded_)) {
    const std::uint64_t chunkStart = fetched_ - n;
    std::size_t at = static_cast<std::size_t>(decoder_.BadOffset() - chunkStart);
    if (decoder_.BadOffset() < chunkStart) at = 0;  // a lead byte held from the chunk before
    CheckLineEnds(bytes, at);
    brokenLine_ = LineAt(bytes, at);
    findings_.push_back({Severity::Error, brokenLine_, "",
                         "byte " + Hex(static_cast<unsigned char>(bytes[std::min(at, n - 1)])) +
                             " at offset " + std::to_string(decoder_.BadOffset()) + " is not Shift_JIS"});
    broken_ = true;
    atEnd_ = true;
    return false;
  }
  CheckLineEnds(bytes, n);
  if (auto violation = guard_.Scan(decoded_)) {
    // The parser gets the text before the violation and then the end of its input.
    const auto at = static_cast<std::ptrdiff_t>(violation->offset);
    brokenLine_ = line_ + std::count(decoded_.begin(), decoded_.begin() + at, '\n');
    findings_.push_back({Severity::Error, brokenLine_, "", "refused: " + violation->message});
    decoded_.resize(violation->offset);
    broken_ = true;
    atEnd_ = true;
  }
  line_ += static_cast<long>(std::count(bytes, bytes + n, '\n'));
  return true;
}

int InputFeed::Read(char* buffer, int len) {
  if (!openProblem_.empty()) return -1;
  while (decodedPos_ == decoded_.size()) {
    if (atEnd_ || !Refill()) return broken_ ? -1 : 0;
  }
  const std::size_t n = std::min(static_cast<std::size_t>(len), decoded_.size() - decodedPos_);
  std::memcpy(buffer, decoded_.data() + decodedPos_, n);
  decodedPos_ += n;
  return static_cast<int>(n);
}

}  // namespace inspect

// The bytes of a document on their way into libxml2: read in large chunks, decoded from
// code page 932 to UTF-8, with the line ends checked and the markup kept within bounds
// (MarkupGuard). The first problem of each kind becomes a finding with its line; a byte
// that does not decode, or markup out of bounds, ends the input there. Only a regular file
// is opened, so that a FIFO or a device never makes a read wait.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Cp932Stream.h"
#include "tools/velmora-inspect/Finding.h"
#include "tools/velmora-inspect/MarkupGuard.h"
#include "tools/velmora-inspect/Source.h"

namespace inspect {

// Why the source cannot be read as a document ("No such file or directory", "it is a
// folder, not a file", "the file is empty", ...); empty when it can be opened.
std::string OpenProblem(const Source& source);

class InputFeed {
 public:
  explicit InputFeed(const Source& source);
  ~InputFeed();
  InputFeed(const InputFeed&) = delete;
  InputFeed& operator=(const InputFeed&) = delete;

  // Empty when the document was opened; else why not (as OpenProblem says).
  const std::string& Problem() const { return openProblem_; }
  // libxml2's read callback: up to len bytes of UTF-8; 0 at the end, -1 after a bad byte.
  int Read(char* buffer, int len);
  // True once a byte failed to decode: libxml2's complaints after it are its echo.
  bool Broken() const { return broken_; }
  // The line the input broke on: what the parser said of it echoes the break.
  long BrokenLine() const { return brokenLine_; }
  std::vector<Finding>& Findings() { return findings_; }
  long LastLine() const { return line_; }

 private:
  bool Refill();
  void CheckLineEnds(const char* bytes, std::size_t size);
  void CheckDeclaration(const char* bytes, std::size_t size);
  long LineAt(const char* bytes, std::size_t offset) const;

  std::size_t Fetch();

  std::FILE* file_ = nullptr;
  std::string_view memory_;  // the bytes not yet fetched, for a source in memory
  bool inMemory_ = false;
  std::uint64_t fetched_ = 0;
  std::string openProblem_;
  MarkupGuard guard_;
  platform::cp932::StreamDecoder decoder_;
  std::string raw_;
  std::string decoded_;
  std::size_t decodedPos_ = 0;
  long line_ = 1;  // line of the first byte of the chunk being checked
  bool lastWasCr_ = false;
  bool lastWasLf_ = false;
  bool sawBareLf_ = false;
  bool sawBareCr_ = false;
  bool atStart_ = true;
  bool atEnd_ = false;
  bool broken_ = false;
  long brokenLine_ = 0;
  std::vector<Finding> findings_;
};

}  // namespace inspect

// The bytes of a document on their way into libxml2: read in large chunks, decoded from
// code page 932 to UTF-8, with the line ends checked. The first problem of each kind
// becomes a finding with its line; a byte that does not decode ends the input there.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Cp932Stream.h"
#include "tools/velmora-inspect/Finding.h"

namespace inspect {

class InputFeed {
 public:
  explicit InputFeed(const std::string& path);
  ~InputFeed();
  InputFeed(const InputFeed&) = delete;
  InputFeed& operator=(const InputFeed&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // libxml2's read callback: up to len bytes of UTF-8; 0 at the end, -1 after a bad byte.
  int Read(char* buffer, int len);
  // True once a byte failed to decode: libxml2's complaints after it are its echo.
  bool Broken() const { return broken_; }
  std::vector<Finding>& Findings() { return findings_; }
  long LastLine() const { return line_; }

 private:
  bool Refill();
  void CheckLineEnds(const char* bytes, std::size_t size);
  void CheckDeclaration(const char* bytes, std::size_t size);
  long LineAt(const char* bytes, std::size_t offset) const;

  std::FILE* file_ = nullptr;
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
  std::vector<Finding> findings_;
};

}  // namespace inspect

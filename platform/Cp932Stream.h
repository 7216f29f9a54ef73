// Code page 932 to UTF-8 for inputs of any size, decoded chunk by chunk. The mapping is
// glibc iconv's own, read once into a table, so that hundreds of megabytes decode at
// memory speed and a double-byte character split between two chunks is joined again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::cp932 {

class StreamDecoder {
 public:
  StreamDecoder();

  // Appends the UTF-8 form of bytes to out. A lead byte at the end of bytes is held back
  // for the next call. Returns false at the first byte that does not map; nothing after it
  // is decoded and BadOffset() is its offset counted from the first byte ever given.
  bool Decode(std::string_view bytes, std::string& out);
  // True when no lead byte is left waiting for its second byte.
  bool Finish();
  std::uint64_t BadOffset() const { return badOffset_; }

 private:
  bool Fail(std::uint64_t offset);

  std::uint64_t consumed_ = 0;
  std::uint64_t badOffset_ = 0;
  int pendingLead_ = -1;
  bool failed_ = false;
};

}  // namespace platform::cp932

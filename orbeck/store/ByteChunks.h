// A stream's bytes for the document's readers, a megabyte at a time.
#pragma once

#include <cstddef>
#include <istream>
#include <iterator>
#include <vector>

namespace orbeck::store {

// The document's bytes for the reader, read from the stream a megabyte at a time: the
// reader takes them one by one, and a stream buffer's iterator costs a call and an end test
// through the buffer per byte.
class ChunkedBytes {
 public:
  explicit ChunkedBytes(std::istream& in) : in_(in), buffer_(std::size_t{1} << 20) { Fill(); }

  bool AtEnd() const { return at_ == size_; }
  char Byte() const { return buffer_[at_]; }
  void Next() {
    if (++at_ == size_) Fill();
  }

  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    Iterator() = default;
    explicit Iterator(ChunkedBytes* bytes) : bytes_(bytes) {}
    char operator*() const { return bytes_->Byte(); }
    Iterator& operator++() {
      bytes_->Next();
      return *this;
    }
    // Any two iterators at the end are equal; the one sentinel is the default iterator.
    bool operator==(const Iterator& other) const { return AtEnd() == other.AtEnd(); }

   private:
    bool AtEnd() const { return bytes_ == nullptr || bytes_->AtEnd(); }
    ChunkedBytes* bytes_ = nullptr;
  };

 private:
  void Fill() {
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    size_ = static_cast<std::size_t>(in_.gcount());
    at_ = 0;
  }

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t size_ = 0;
  std::size_t at_ = 0;
};

}  // namespace orbeck::store

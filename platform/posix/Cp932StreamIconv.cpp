// The table of the stream decoder: every single byte and every lead/trail pair of code
// page 932 converted once through iconv; an entry holds the UTF-8 length and bytes.
#include "platform/Cp932Stream.h"

#include <iconv.h>

#include <array>
#include <cstring>

#include "platform/Cp932.h"

namespace platform::cp932 {
namespace {

// UTF-8 of at most three bytes (code page 932 reaches no further than U+FFFF), the length in
// the top byte; 0 means the bytes do not map.
using Entry = std::uint32_t;

struct Table {
  std::array<Entry, 256> single{};
  std::array<Entry, 256 * 256> pair{};

  Table() {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    auto convert = [cd](const char* in, std::size_t inLen) -> Entry {
      char out[8];
      char* inPtr = const_cast<char*>(in);
      char* outPtr = out;
      std::size_t inLeft = inLen, outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return 0;
      const std::size_t n = sizeof out - outLeft;
      if (n == 0 || n > 3) return 0;
      Entry e = static_cast<Entry>(n) << 24;
      for (std::size_t i = 0; i < n; ++i)
        e |= static_cast<Entry>(static_cast<unsigned char>(out[i])) << (16 - 8 * i);
      return e;
    };
    for (int b = 0; b < 256; ++b) {
      if (IsLeadByte(static_cast<unsigned char>(b))) continue;
      const char c = static_cast<char>(b);
      single[static_cast<std::size_t>(b)] = convert(&c, 1);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        pair[static_cast<std::size_t>(lead * 256 + trail)] = convert(two, 2);
      }
    }
    iconv_close(cd);
  }
};

const Table& TheTable() {
  static const Table table;
  return table;
}

void Append(std::string& out, Entry e) {
  const std::size_t n = e >> 24;
  char bytes[3] = {static_cast<char>((e >> 16) & 0xFF), static_cast<char>((e >> 8) & 0xFF),
                   static_cast<char>(e & 0xFF)};
  out.append(bytes, n);
}

}  // namespace

StreamDecoder::StreamDecoder() { TheTable(); }

bool StreamDecoder::Fail(std::uint64_t offset) {
  failed_ = true;
  badOffset_ = offset;
  return false;
}

bool StreamDecoder::Decode(std::string_view bytes, std::string& out) {
  if (failed_) return false;
  const Table& table = TheTable();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  out.reserve(out.size() + size + size / 2);
  if (pendingLead_ >= 0 && size > 0) {
    const Entry e = table.pair[static_cast<std::size_t>(pendingLead_ * 256 + p[0])];
    if (e == 0) return Fail(consumed_ - 1);
    Append(out, e);
    pendingLead_ = -1;
    i = 1;
  }
  while (i < size) {
    // Runs of ASCII, the bulk of a document, are copied as they stand.
    std::size_t run = i;
    while (run + 8 <= size) {
      std::uint64_t word;
      std::memcpy(&word, p + run, 8);
      if ((word & 0x8080808080808080ULL) != 0) break;
      run += 8;
    }
    while (run < size && p[run] < 0x80) ++run;
    if (run > i) {
      out.append(bytes.data() + i, run - i);
      i = run;
      continue;
    }
    const unsigned char b = p[i];
    if (IsLeadByte(b)) {
      if (i + 1 == size) {
        pendingLead_ = b;
        ++i;
        break;
      }
      const Entry e = table.pair[static_cast<std::size_t>(b * 256 + p[i + 1])];
      if (e == 0) return Fail(consumed_ + i);
      Append(out, e);
      i += 2;
    } else {
      const Entry e = table.single[b];
      if (e == 0) return Fail(consumed_ + i);
      Append(out, e);
      ++i;
    }
  }
  consumed_ += size;
  return true;
}

bool StreamDecoder::Finish() {
  if (failed_) return false;
  if (pendingLead_ >= 0) return Fail(consumed_ - 1);
  return true;
}

}  // namespace platform::cp932

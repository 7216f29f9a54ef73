// Decoding a journal CSV to UTF-8 and splitting it into records (RFC 4180 quoting).
#include "tools/orbeck-import/csv/CsvText.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace orbeck::import {
namespace {

// The length of a valid UTF-8 sequence starting at i, or 0.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  if (b < 0x80) return 1;
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return n;
}

// The offset of the first byte that is not valid UTF-8, or npos.
std::size_t FirstBadUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = Utf8Length(s, i);
    if (n == 0) return i;
    i += n;
  }
  return std::string_view::npos;
}

long LineOf(std::string_view bytes, std::size_t offset) {
  return 1 + static_cast<long>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(offset), '\n'));
}

}  // namespace

int DecodeCsvText(std::string_view bytes, CsvEncoding encoding, std::string& text, std::string& error) {
  const std::string_view bom = "\xEF\xBB\xBF";
  if (encoding != CsvEncoding::ShiftJis && bytes.substr(0, 3) == bom) {
    bytes.remove_prefix(3);
    encoding = CsvEncoding::Utf8;
  }
  const std::size_t bad = encoding == CsvEncoding::ShiftJis ? std::string_view::npos : FirstBadUtf8(bytes);
  if (encoding == CsvEncoding::Utf8 && bad != std::string_view::npos) {
    error = std::to_string(LineOf(bytes, bad)) + ": not UTF-8 (byte " + std::to_string(bad + 1) + ")";
    return 0;
  }
  if (bad == std::string_view::npos && encoding != CsvEncoding::ShiftJis) {
    text.assign(bytes);
    return 1;
  }
  platform::cp932::Conversion converted = platform::cp932::ToUtf8(bytes);
  if (converted.ok) {
    text = std::move(converted.text);
    return 1;
  }
  // Only a refused file pays for finding its line: a line break is never part of a
  // double-byte character, so each line decodes on its own.
  long line = 1;
  for (std::size_t from = 0; from < bytes.size(); ++line) {
    const std::size_t end = std::min(bytes.find('\n', from), bytes.size());
    if (!platform::cp932::ToUtf8(bytes.substr(from, end - from)).ok) break;
    from = end + 1;
  }
  error = std::to_string(line) + ": not Shift_JIS";
  return 0;
}

int CsvRecords::Next(CsvRecord& record, std::string& error) {
  record.fields.clear();
  while (at_ < text_.size()) {
    record.line = line_;
    std::string field;
    bool quoted = false;
    bool any = false;
    for (; at_ < text_.size(); ++at_) {
      const char c = text_[at_];
      if (quoted) {
        if (c == '"' && at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
          field += '"';
          ++at_;
        } else if (c == '"') {
          quoted = false;
        } else {
          if (c == '\n') ++line_;
          field += c;
        }
        continue;
      }
      if (c == '"') {
        quoted = true;
        any = true;
      } else if (c == delimiter_) {
        record.fields.push_back(std::move(field));
        field.clear();
        any = true;
      } else if (c == '\n') {
        ++at_;
        ++line_;
        break;
      } else if (c != '\r') {
        field += c;
        any = true;
      }
    }
    if (quoted) {
      error = std::to_string(record.line) + ": a quoted field is never closed";
      return 0;
    }
    if (!any) continue;
    record.fields.push_back(std::move(field));
    return 1;
  }
  return 1;
}

}  // namespace orbeck::import

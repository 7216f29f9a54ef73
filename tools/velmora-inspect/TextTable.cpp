// Display widths through code page 932: the byte length of a text's code page 932 form is
// its width in cells.
#include "tools/velmora-inspect/TextTable.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace inspect {
namespace {

// Width of one UTF-8 sequence starting at p (len bytes), and its length.
int CharWidth(std::string_view utf8) {
  const auto converted = platform::cp932::FromUtf8(utf8);
  if (converted.ok) return static_cast<int>(converted.text.size());
  // Not in code page 932: wide unless it is below the CJK ranges.
  const auto lead = static_cast<unsigned char>(utf8[0]);
  return lead >= 0xE1 ? 2 : 1;
}

std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  const auto converted = platform::cp932::FromUtf8(utf8);
  if (converted.ok) return static_cast<int>(converted.text.size());
  int width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    width += CharWidth(utf8.substr(i, n));
    i += n;
  }
  return width;
}

namespace {

std::string Cut(std::string_view utf8, int width) {
  if (DisplayWidth(utf8) <= width) return std::string(utf8);
  std::string out;
  int used = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    const int w = CharWidth(utf8.substr(i, n));
    if (used + w > width - 1) break;
    out.append(utf8.substr(i, n));
    used += w;
    i += n;
  }
  return out + "~";
}

}  // namespace

std::string FitLeft(std::string_view utf8, int width) {
  std::string out = Cut(utf8, width);
  out.append(static_cast<std::size_t>(std::max(0, width - DisplayWidth(out))), ' ');
  return out;
}

std::string FitRight(std::string_view utf8, int width) {
  std::string out = Cut(utf8, width);
  return std::string(static_cast<std::size_t>(std::max(0, width - DisplayWidth(out))), ' ') + out;
}

std::string TextTable::Render() const {
  std::vector<int> widths;
  for (const Column& c : columns_) widths.push_back(DisplayWidth(c.header));
  for (const auto& row : rows_) {
    for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    }
  }
  int total = 0;
  for (const int w : widths) total += w;
  total += 2 * static_cast<int>(widths.empty() ? 0 : widths.size() - 1);
  const auto line = [&](const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t i = 0; i < widths.size(); ++i) {
      const std::string cell = i < cells.size() ? cells[i] : "";
      if (i > 0) out += "  ";
      out += columns_[i].rightAligned ? FitRight(cell, widths[i]) : FitLeft(cell, widths[i]);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out + "\n";
  };
  std::vector<std::string> headers;
  for (const Column& c : columns_) headers.push_back(c.header);
  std::string out = line(headers);
  const std::string rule = std::string(static_cast<std::size_t>(total), '-') + "\n";
  out += rule;
  for (const auto& row : rows_) out += row.empty() ? rule : line(row);
  return out;
}

}  // namespace inspect

// Line composition, escaping and the failure rule of the element writer.
#include "xmlout/XmlElementWriter.h"

#include <array>
#include <cstring>

bool XmlElementWriter::Open(const std::string& path) {
  complete_ = file_.Create(path);
  return complete_;
}

bool XmlElementWriter::OpenTemporary(const std::string& targetPath) {
  complete_ = file_.CreateTemporary(targetPath);
  return complete_;
}

bool XmlElementWriter::WriteRaw(std::string_view text) {
  if (!file_.IsOpen()) {
    return false;
  }
  if (!file_.Write(text.data(), text.size())) {
    // A failed write ends the document: later writes must not add to a broken file.
    file_.Close();
    complete_ = false;
    return false;
  }
  return true;
}

void XmlElementWriter::AppendIndent(std::string& line, int level) {
  if (level > 0) {
    line.append(static_cast<std::size_t>(level), '\t');
  }
}

void XmlElementWriter::AppendAttribute(std::string& line, const char* name, const char* value) {
  line += ' ';
  line += name;
  line += "=\"";
  AppendEscaped(line, value);
  line += '"';
}

void XmlElementWriter::AppendAttributes(std::string& line, const char* attrName1, const char* attrValue1,
                                        const char* attrName2, const char* attrValue2) {
  if (attrName1 != nullptr && attrValue1 != nullptr) {
    AppendAttribute(line, attrName1, attrValue1);
    if (attrName2 != nullptr && attrValue2 != nullptr) {
      AppendAttribute(line, attrName2, attrValue2);
    }
  }
}

bool XmlElementWriter::StartElement(const char* name, int level, const char* attrName1,
                                    const char* attrValue1, const char* attrName2, const char* attrValue2) {
  std::string& line = line_;
  line.clear();
  AppendIndent(line, level);
  line += '<';
  line += name;
  AppendAttributes(line, attrName1, attrValue1, attrName2, attrValue2);
  line += ">\r\n";
  return WriteRaw(line);
}

bool XmlElementWriter::WriteElement(const char* name, std::string_view text, int level, const char* attrName1,
                                    const char* attrValue1, const char* attrName2, const char* attrValue2) {
  std::string& line = line_;
  line.clear();
  AppendIndent(line, level);
  line += '<';
  line += name;
  AppendAttributes(line, attrName1, attrValue1, attrName2, attrValue2);
  line += '>';
  AppendEscaped(line, text);
  line += "</";
  line += name;
  line += ">\r\n";
  return WriteRaw(line);
}

bool XmlElementWriter::EndElement(const char* name, int level) {
  std::string& line = line_;
  line.clear();
  AppendIndent(line, level);
  line += "</";
  line += name;
  line += ">\r\n";
  return WriteRaw(line);
}

namespace {

constexpr std::size_t kRowBytes = 16384;   // a ledger row's ten lines at their longest fit
constexpr std::size_t kEscapedGrowth = 6;  // &quot; for "

char* Put(char* at, std::string_view bytes) {
  std::memcpy(at, bytes.data(), bytes.size());
  return at + bytes.size();
}

char* PutIndent(char* at, int level) {
  for (int i = 0; i < level; ++i) *at++ = '\t';
  return at;
}

// Byte by byte is safe for code page 932: a second byte is 0x40 or above and so is never
// one of the five characters replaced here.
constexpr auto kSpecial = [] {
  std::array<bool, 256> special{};
  for (const unsigned char c : {'&', '>', '<', '"', '\''}) special[c] = true;
  return special;
}();

std::string_view EntityOf(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '>':
      return "&gt;";
    case '<':
      return "&lt;";
    case '"':
      return "&quot;";
    default:
      return "&apos;";
  }
}

}  // namespace

char* XmlElementWriter::RowRoom(std::size_t bytes) {
  if (rowUsed_ + bytes > rowCapacity_) {
    if (rowUsed_ != 0 && !WriteRaw(std::string_view(row_.get(), rowUsed_))) rowFailed_ = true;
    rowUsed_ = 0;
    if (bytes > rowCapacity_) {
      rowCapacity_ = bytes > kRowBytes ? bytes : kRowBytes;
      row_ = std::make_unique<char[]>(rowCapacity_);
    }
  }
  return row_.get() + rowUsed_;
}

template <typename Fill>
void XmlElementWriter::AddLine(std::string_view name, int level, std::size_t textBytes, Fill fill) {
  const std::size_t levels = level > 0 ? static_cast<std::size_t>(level) : 0;
  char* at = RowRoom(levels + 2 * name.size() + textBytes + 7);
  char* const start = at;
  at = PutIndent(at, level);
  *at++ = '<';
  at = Put(at, name);
  *at++ = '>';
  at = fill(at);
  *at++ = '<';
  *at++ = '/';
  at = Put(at, name);
  at = Put(at, ">\r\n");
  rowUsed_ += static_cast<std::size_t>(at - start);
}

void XmlElementWriter::AddTagLine(std::string_view name, int level, bool end) {
  const std::size_t levels = level > 0 ? static_cast<std::size_t>(level) : 0;
  char* at = RowRoom(levels + name.size() + 5);
  char* const start = at;
  at = PutIndent(at, level);
  *at++ = '<';
  if (end) *at++ = '/';
  at = Put(at, name);
  at = Put(at, ">\r\n");
  rowUsed_ += static_cast<std::size_t>(at - start);
}

void XmlElementWriter::AddTextLine(std::string_view name, std::string_view text, int level) {
  AddLine(name, level, kEscapedGrowth * text.size(), [text](char* at) { return EscapeInto(at, text); });
}

void XmlElementWriter::AddPlainLine(std::string_view name, std::string_view text, int level) {
  AddLine(name, level, text.size(), [text](char* at) { return Put(at, text); });
}

bool XmlElementWriter::WriteLines() {
  const bool written = WriteRaw(std::string_view(row_.get(), rowUsed_)) && !rowFailed_;
  rowUsed_ = 0;
  rowFailed_ = false;
  return written;
}

bool XmlElementWriter::Close() {
  if (file_.IsOpen() && !file_.Close()) complete_ = false;
  return complete_;
}

std::string XmlElementWriter::EscapeText(std::string_view value) {
  std::string escaped;
  AppendEscaped(escaped, value);
  return escaped;
}

void XmlElementWriter::AppendEscaped(std::string& out, std::string_view value) {
  const std::size_t from = out.size();
  out.resize(from + kEscapedGrowth * value.size());
  out.resize(static_cast<std::size_t>(EscapeInto(out.data() + from, value) - out.data()));
}

char* XmlElementWriter::EscapeInto(char* out, std::string_view value) {
  for (const char c : value) {
    if (!kSpecial[static_cast<unsigned char>(c)]) {
      *out++ = c;
    } else {
      const std::string_view entity = EntityOf(c);
      std::memcpy(out, entity.data(), entity.size());
      out += entity.size();
    }
  }
  return out;
}

// Line composition, escaping and the failure rule of the element writer.
#include "xmlout/XmlElementWriter.h"

#include <array>

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

void XmlElementWriter::AddStartLine(std::string_view name, int level) {
  AppendIndent(line_, level);
  line_ += '<';
  line_ += name;
  line_ += ">\r\n";
}

void XmlElementWriter::AddTextLine(std::string_view name, std::string_view text, int level) {
  AppendIndent(line_, level);
  line_ += '<';
  line_ += name;
  line_ += '>';
  AppendEscaped(line_, text);
  line_ += "</";
  line_ += name;
  line_ += ">\r\n";
}

void XmlElementWriter::AddDigitsLine(std::string_view name, std::string_view digits, int level) {
  AppendIndent(line_, level);
  line_ += '<';
  line_ += name;
  line_ += '>';
  line_ += digits;
  line_ += "</";
  line_ += name;
  line_ += ">\r\n";
}

void XmlElementWriter::AddEndLine(std::string_view name, int level) {
  AppendIndent(line_, level);
  line_ += "</";
  line_ += name;
  line_ += ">\r\n";
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
  // Byte by byte is safe for code page 932: a second byte is 0x40 or above and so is never
  // one of the five characters replaced here. The runs between them go in whole.
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (const unsigned char c : {'&', '>', '<', '"', '\''}) special[c] = true;
    return special;
  }();
  const char* run = value.data();
  const char* const end = run + value.size();
  for (const char* at = run; at != end; ++at) {
    if (!kSpecial[static_cast<unsigned char>(*at)]) continue;
    out.append(run, static_cast<std::size_t>(at - run));
    switch (*at) {
      case '&':
        out += "&amp;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += "&apos;";
        break;
    }
    run = at + 1;
  }
  out.append(run, static_cast<std::size_t>(end - run));
}

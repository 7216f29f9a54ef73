// XmlElementWriter: turns element calls into the lines of the output document. Every call
// composes one complete line (TAB indentation by level, CR LF at its end) and appends it to
// the file at once; no tree is kept. Text is code page 932 bytes and is never converted;
// only the five XML special characters are escaped, in element text and attribute values.
// Lines and values have no length limit: they are composed in one buffer that the writer
// keeps, so that writing a line allocates nothing once the buffer has grown to the longest.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/WinFs.h"

// Every operation answers true when it did its work and false when it failed.
class XmlElementWriter {
 public:
  // Creates (or truncates) the file at a Windows-form path; false when it cannot be
  // created. A writer whose file is not open fails every write.
  bool Open(const std::string& path);
  // Creates a new temporary file beside targetPath (File::CreateTemporary), as Open.
  bool OpenTemporary(const std::string& targetPath);
  // The temporary file's Windows-form path; empty when none was created.
  const std::string& TemporaryPath() const { return file_.TemporaryPath(); }
  // Appends the bytes unchanged; false when the file is not open or the write fails, in
  // which case the file is closed and every later write fails too.
  bool WriteRaw(std::string_view text);
  // An attribute is written when both its name and its value are non-null; the second
  // only when the first is. An empty value is written as "".
  bool StartElement(const char* name, int level, const char* attrName1 = nullptr,
                    const char* attrValue1 = nullptr, const char* attrName2 = nullptr,
                    const char* attrValue2 = nullptr);
  bool WriteElement(const char* name, std::string_view text, int level, const char* attrName1 = nullptr,
                    const char* attrValue1 = nullptr, const char* attrName2 = nullptr,
                    const char* attrValue2 = nullptr);
  bool EndElement(const char* name, int level);
  // Lines composed together and written by one call, for the millions of ledger rows: the
  // same lines as StartElement, WriteElement and EndElement without attributes, with names
  // whose lengths are known, composed in a buffer of bytes the writer keeps. AddTextLine
  // escapes its text; AddPlainLine appends it as it is (digits, or a text escaped already).
  void BeginLines() { rowUsed_ = 0; }
  void AddStartLine(std::string_view name, int level) { AddTagLine(name, level, false); }
  void AddTextLine(std::string_view name, std::string_view text, int level);
  void AddPlainLine(std::string_view name, std::string_view text, int level);
  void AddEndLine(std::string_view name, int level) { AddTagLine(name, level, true); }
  // True when the lines reached the file; as WriteRaw otherwise.
  bool WriteLines();
  // Closes the file if it is open; a second call does nothing. True when the file was
  // opened and every line written reached it, the last buffered block included.
  bool Close();

  static std::string EscapeText(std::string_view value);
  // Appends the escaped copy of value to out.
  static void AppendEscaped(std::string& out, std::string_view value);
  // Writes the escaped copy of value at out, which has room for six bytes per byte of it;
  // returns the end of what it wrote.
  static char* EscapeInto(char* out, std::string_view value);

 private:
  static void AppendIndent(std::string& line, int level);
  static void AppendAttribute(std::string& line, const char* name, const char* value);
  // The second attribute is written only when the first one is.
  static void AppendAttributes(std::string& line, const char* attrName1, const char* attrValue1,
                               const char* attrName2, const char* attrValue2);

  // Room for `bytes` more bytes of the lines being composed: what is composed so far goes to
  // the file first when they would not fit, so that no text is too long for the buffer.
  char* RowRoom(std::size_t bytes);
  // A start tag, or with `end` an end tag, on a line of its own.
  void AddTagLine(std::string_view name, int level, bool end);
  // The line around the text that `fill` writes (at most `textBytes` bytes).
  template <typename Fill>
  void AddLine(std::string_view name, int level, std::size_t textBytes, Fill fill);

  platform::win::File file_;
  std::string line_;             // the line being composed
  std::unique_ptr<char[]> row_;  // the lines being composed together
  std::size_t rowCapacity_ = 0;
  std::size_t rowUsed_ = 0;
  bool rowFailed_ = false;  // a part of the lines could not be written
  bool complete_ = false;
};

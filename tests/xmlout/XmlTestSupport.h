// Helpers of the document writer's tests: a temporary folder addressed in Windows form,
// expected Shift_JIS bytes from iconv (independent of the program's own conversion),
// whole-file byte comparison with a readable line diff, and an xmllint check.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/UiBackend.h"
#include "runstate/StatementModel.h"

class XmlElementWriter;

// Code page 932 bytes of UTF-8 text, converted by glibc's iconv.
std::string Sjis(const std::string& utf8);

// A fresh folder under the system's temporary folder, removed at the end of the test.
// VELMORA_DRIVES is unset, so Z: is the Linux root.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& Linux() const { return linux_; }
  // Windows form of a file in the folder.
  std::string Windows(const std::string& name) const;
  std::string LinuxPath(const std::string& name) const { return linux_ + "/" + name; }

 private:
  std::string linux_;
};

std::string ReadBytes(const std::string& linuxPath);
void WriteBytes(const std::string& linuxPath, const std::string& bytes);

// Runs write against an element writer opened on a temporary file and returns the bytes
// written; result receives what write returned.
std::string Capture(const std::function<int(XmlElementWriter&)>& write, int* result = nullptr);

// Joins lines, ending each with CR LF.
std::string Lines(const std::vector<std::string>& lines);

// Compares whole byte strings; on a difference reports the first differing line of both,
// in UTF-8 with CR, LF and TAB made visible.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual);

// True when xmllint accepts the file as well-formed (its encoding declaration included).
bool WellFormed(const std::string& linuxPath);

// A statement line built directly, amounts in ten-thousandths of a yen.
StatementLine MakeLine(uint32_t character, const std::string& officialNameUtf8, int64_t closing,
                       int16_t rowKind = 0, int32_t accountCode = 0);

// A UI backend that records message boxes and answers OK.
struct RecordedBox {
  platform::HWND owner;
  std::string text;
  std::string caption;
  unsigned type;
};
class BoxRecorder : public platform::UiBackend {
 public:
  explicit BoxRecorder(std::vector<RecordedBox>& boxes) : boxes_(boxes) {}
  void RunModal(platform::CDialog&) override {}
  int MessageBox(platform::HWND owner, const std::string& text, const std::string& caption,
                 unsigned type) override;
  platform::SaveFileAnswer SaveFileDialog(const platform::FileDialogRequest&, std::string&) override {
    return platform::SaveFileAnswer::Cancelled;
  }

 private:
  std::vector<RecordedBox>& boxes_;
};

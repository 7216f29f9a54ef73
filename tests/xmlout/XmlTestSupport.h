// Helpers of the document writer's tests: a temporary folder addressed in Windows form, the
// shared test support's files, iconv text and byte comparison, and an xmllint check.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/UiBackend.h"
#include "runstate/StatementModel.h"
#include "tests/support/Cp932Text.h"
#include "tests/support/Golden.h"
#include "tests/support/TestFiles.h"

class XmlElementWriter;

using velmora::test::Cp932;
using velmora::test::ReadBytes;
using velmora::test::SameBytes;
using velmora::test::WriteBytes;

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

// Runs write against an element writer opened on a temporary file and returns the bytes
// written; result receives what write returned.
std::string Capture(const std::function<int(XmlElementWriter&)>& write, int* result = nullptr);

// The code page 932 form of a UTF-8 text, kept by the ledger's list as the engine keeps names.
inline LedgerText KeptText(LedgerLineList& ledger, const std::string& utf8) {
  LedgerText kept;
  EXPECT_TRUE(ledger.texts.KeepShared(Cp932(utf8), kept));
  return kept;
}

// Joins lines, ending each with CR LF.
std::string Lines(const std::vector<std::string>& lines);

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

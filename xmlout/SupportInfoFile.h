// SupportInfoFile: reader of the host installation's support information file
// "SUPPORT.INF" in the working folder. The file is read once, on the first value asked
// for, into a 30000-byte block; each value is the text after its marker up to the end of
// the marker's line. Values are code page 932 and have no length limit of their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

class SupportInfoFile {
 public:
  // caption: the program's name, shown with owner on the out-of-memory box.
  SupportInfoFile(std::string caption, platform::HWND owner);

  // The value of the entry "[=製品名=]", or empty.
  std::string ProductName();
  // The value of the entry "[=製品ﾊﾞｰｼﾞｮﾝ=]", or empty.
  std::string ProductVersion();

  // True when the file could not be read: the block could not be allocated (the box has
  // then been shown) or the file failed after it opened. A missing file is no failure: its
  // values are empty. Meaningful after the first value was asked for.
  bool Failed() const { return failed_; }

  static constexpr std::size_t kBlockSize = 30000;

 private:
  // False when the file could not be read (see Failed).
  bool Load();
  std::string ValueOf(std::string_view marker);

  std::string caption_;
  platform::HWND owner_;
  std::vector<char> block_;
  std::size_t dataSize_ = 0;
  bool loaded_ = false;
  bool failed_ = false;
};

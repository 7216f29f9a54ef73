// The UI backend in use until another is set: it shows nothing, answers every message box
// with OK or No, cancels save-file dialogs, closes modal dialogs as with Esc, and keeps what
// it was asked so that library tests can look at it.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/UiBackend.h"

namespace platform {

class RecordingBackend : public UiBackend {
 public:
  struct Box {
    HWND owner = 0;
    std::string text;     // code page 932
    std::string caption;  // code page 932
    unsigned type = 0;
  };

  void RunModal(CDialog& dialog) override;
  int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type) override;
  SaveFileAnswer SaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) override;
  void HostCall(const HostWindowCall& call) override { hostCalls.push_back(call); }
  void WaitCursor(int depth) override { waitCursorDepths.push_back(depth); }
  void RunEnded(int status) override { exitStatuses.push_back(status); }
  void ErrorReported(const std::string& line) override { errors.push_back(line); }

  std::vector<Box> boxes;
  std::vector<FileDialogRequest> saveDialogs;
  std::vector<HostWindowCall> hostCalls;
  std::vector<int> waitCursorDepths;
  std::vector<int> exitStatuses;
  std::vector<std::string> errors;  // UTF-8
};

}  // namespace platform

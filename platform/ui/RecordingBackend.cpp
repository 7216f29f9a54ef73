// The default UI backend: answers OK / No and records what it was asked.
#include "platform/ui/RecordingBackend.h"

#include "platform/ui/Dialog.h"

namespace platform {

void RecordingBackend::RunModal(CDialog& dialog) {
  dialog.UserKey(KeyMessage{Key::Esc});
  if (!dialog.HasEnded()) dialog.EndDialog(IDCANCEL);
}

int RecordingBackend::MessageBox(HWND owner, const std::string& text, const std::string& caption,
                                 unsigned type) {
  boxes.push_back(Box{owner, text, caption, type});
  return (type & MB_BUTTONMASK) == MB_YESNO ? IDNO : IDOK;
}

SaveFileAnswer RecordingBackend::SaveFileDialog(const FileDialogRequest& request, std::string&) {
  saveDialogs.push_back(request);
  return SaveFileAnswer::Cancelled;
}

}  // namespace platform

// CFileDialog: the save-file dialog, answered by the UI backend.
#include "platform/ui/FileDialog.h"

#include "platform/ui/UiBackend.h"

namespace platform {

CFileDialog::CFileDialog(bool open, const std::string& defaultExt, const std::string& fileName,
                         unsigned flags, const std::string& filter, HWND owner) {
  request.owner = owner;
  request.open = open;
  request.defaultExt = defaultExt;
  request.fileName = fileName;
  request.flags = flags;
  request.filter = filter;
}

int CFileDialog::DoModal() {
  std::string chosen;
  answer_ = Ui().SaveFileDialog(request, chosen);
  if (answer_ != SaveFileAnswer::Chosen) return IDCANCEL;
  path_ = chosen;
  return IDOK;
}

}  // namespace platform

// The common save-file dialog (CFileDialog), answered by the UI backend.
#pragma once

#include <string>

#include "platform/WinTypes.h"

namespace platform {

struct FileDialogRequest {
  HWND owner = 0;
  bool open = false;
  std::string title;       // code page 932
  std::string initialDir;  // Windows form, code page 932
  std::string fileName;    // initial file name
  std::string filter;      // "Xml Files (*.xml)|*.xml||"
  std::string defaultExt;  // "XML"
  unsigned flags = 0;      // OFN_...
};

// How the user left the save-file dialog.
enum class SaveFileAnswer {
  Cancelled,
  Chosen,
  // A file or folder name that code page 932 cannot hold (an emoji, a character outside
  // JIS): the program could not name that file, so nothing was chosen, yet the user did not
  // cancel either.
  NameWithoutCp932Form,
};

class CFileDialog {
 public:
  CFileDialog(bool open, const std::string& defaultExt, const std::string& fileName, unsigned flags,
              const std::string& filter, HWND owner);
  FileDialogRequest request;
  // IDOK when the user chose a file, IDCANCEL otherwise; Answer() tells why.
  int DoModal();
  SaveFileAnswer Answer() const { return answer_; }
  // The chosen path in Windows form.
  const std::string& GetPathName() const { return path_; }

 private:
  std::string path_;
  SaveFileAnswer answer_ = SaveFileAnswer::Cancelled;
};

}  // namespace platform

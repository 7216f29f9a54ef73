// The save-file dialog: the drives of the drive map as its roots, starting in the request's
// Windows-form folder and answering in Windows form (DriveFileDialog). Tests name the next
// answer beforehand (SetNextFileName) so that no dialog waits for a user.
#pragma once

#include <optional>
#include <string>

#include <QString>
#include <QStringList>

#include "platform/ui/FileDialog.h"

class QWidget;

namespace platform::qt {

class QtFileDialog {
 public:
  // Chosen with the chosen file in Windows form (code page 932).
  static SaveFileAnswer Save(const FileDialogRequest& request, QWidget* parent, std::string& chosenPath);

  // The next Save answers with this Linux path instead of showing a dialog; an empty
  // path answers "cancel", as does a path on no drive. One answer per call.
  static void SetNextFileName(const QString& linuxPath);
  // What the last Save would have shown: its starting folder and file name.
  static QString LastFolder();
  static QString LastFileName();

  // "Xml Files (*.xml)|*.xml||" as Qt name filters.
  static QStringList NameFilters(const std::string& windowsFilter);
  // The Linux folder to start in and the file name to propose for a request.
  static QString StartFolder(const FileDialogRequest& request);
  static QString StartFileName(const FileDialogRequest& request);
};

}  // namespace platform::qt

// The save-file dialog in the program's own terms: the drives of the drive map are its
// roots, and every path it shows or takes is in Windows form, the form the conditions
// dialog's edit shows. Folders are listed from the Linux folders behind the drives.
#pragma once

#include <string>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "platform/ui/FileDialog.h"

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QModelIndex;
class QToolButton;
class QTreeView;

namespace platform::qt {

class DriveFileDialog : public QDialog {
 public:
  // folder: the Windows-form folder to start in (code page 932); one that no drive maps
  // starts at the first drive. nameFilters as QFileDialog takes them.
  DriveFileDialog(QWidget* parent, const QString& title, const std::string& folder, const QString& fileName,
                  const QStringList& nameFilters, const QString& defaultSuffix);

  // The chosen file in Windows form (code page 932) once accepted.
  const std::string& ChosenPath() const { return chosen_; }
  // Why the dialog was left: Chosen once accepted; NameWithoutCp932Form when the user chose
  // a file or folder whose name the program cannot hold (the dialog is rejected then).
  SaveFileAnswer Answer() const { return answer_; }
  // The folder shown, in Windows form (code page 932).
  const std::string& Folder() const { return folder_; }

  void accept() override;

 private:
  // Shows a Windows-form folder; false when no drive maps it to an existing folder.
  bool Enter(const std::string& windowsFolder);
  void Activated(const QModelIndex& index);
  void ApplyFilter(int index);
  void FillLookIn();

  QComboBox* lookIn_;
  QToolButton* up_;
  QTreeView* view_;
  QFileSystemModel* model_;
  QLineEdit* name_;
  QComboBox* types_;
  QStringList roots_;  // Windows form, "C:\"
  QString defaultSuffix_;
  std::string folder_;
  std::string chosen_;
  SaveFileAnswer answer_ = SaveFileAnswer::Cancelled;
};

}  // namespace platform::qt

// The save-file dialog and its test seam.
#include "platform/qt/QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/WinFs.h"
#include "platform/qt/QtText.h"

namespace platform::qt {
namespace {

struct Seam {
  std::optional<QString> nextFileName;
  QString lastFolder;
  QString lastFileName;
};

Seam& TheSeam() {
  static Seam seam;
  return seam;
}

// The chosen Linux file in Windows form; none when no drive of the map covers it.
std::optional<std::string> WindowsFormOf(const QString& linuxPath) {
  return win::ToWindowsPath(QDir::cleanPath(linuxPath).toStdString());
}

}  // namespace

void QtFileDialog::SetNextFileName(const QString& linuxPath) { TheSeam().nextFileName = linuxPath; }
QString QtFileDialog::LastFolder() { return TheSeam().lastFolder; }
QString QtFileDialog::LastFileName() { return TheSeam().lastFileName; }

QStringList QtFileDialog::NameFilters(const std::string& windowsFilter) {
  // Pairs of description and pattern separated by '|', ended by an empty pair.
  const QStringList parts = ToQString(windowsFilter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    if (description.isEmpty()) break;
    filters << (description.contains(QLatin1Char('('))
                    ? description
                    : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
  }
  return filters;
}

QString QtFileDialog::StartFolder(const FileDialogRequest& request) {
  if (!request.initialDir.empty()) {
    if (const std::optional<std::string> folder = win::ToLinuxPath(request.initialDir)) {
      const QString linuxFolder = QDir::cleanPath(QString::fromStdString(*folder));
      if (QFileInfo(linuxFolder).isDir()) return linuxFolder;
    }
  }
  return QDir::currentPath();
}

QString QtFileDialog::StartFileName(const FileDialogRequest& request) { return ToQString(request.fileName); }

bool QtFileDialog::Save(const FileDialogRequest& request, QWidget* parent, std::string& chosenPath) {
  Seam& seam = TheSeam();
  seam.lastFolder = StartFolder(request);
  seam.lastFileName = StartFileName(request);
  QString defaultSuffix = ToQString(request.defaultExt);
  if (seam.nextFileName) {
    QString answer = *seam.nextFileName;
    seam.nextFileName.reset();
    if (answer.isEmpty()) return false;
    if (QFileInfo(answer).suffix().isEmpty() && !defaultSuffix.isEmpty())
      answer += QLatin1Char('.') + defaultSuffix;
    const std::optional<std::string> windowsPath = WindowsFormOf(answer);
    if (!windowsPath) return false;
    chosenPath = *windowsPath;
    return true;
  }

  QFileDialog dialog(parent, ToQString(request.title), seam.lastFolder);
  dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // One look on every desktop, and the same look in the screenshots.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  // The program asks about an existing file itself.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilters(NameFilters(request.filter));
  // Appended as given, as the Windows dialog does.
  dialog.setDefaultSuffix(defaultSuffix);
  if (!seam.lastFileName.isEmpty()) dialog.selectFile(seam.lastFileName);
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    if (const std::optional<std::string> windowsPath = WindowsFormOf(dialog.selectedFiles().first())) {
      chosenPath = *windowsPath;
      return true;
    }
    QMessageBox::warning(
        &dialog, dialog.windowTitle(),
        QStringLiteral("このフォルダはドライブに割り当てられていません。別の場所を選んでください。"));
  }
  return false;
}

}  // namespace platform::qt

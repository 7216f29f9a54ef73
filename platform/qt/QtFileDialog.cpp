// The save-file dialog and its test seam.
#include "platform/qt/QtFileDialog.h"

#include <QDir>
#include <QFileInfo>

#include "platform/WinFs.h"
#include "platform/qt/DriveFileDialog.h"
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

// The chosen Linux file in Windows form; none when no drive of the map covers it or a
// name on the way has no code page 932 form.
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
    if (const std::optional<std::string> folder = win::ToNativePath(request.initialDir)) {
      const QString linuxFolder = QDir::cleanPath(QString::fromStdString(*folder));
      if (QFileInfo(linuxFolder).isDir()) return linuxFolder;
    }
  }
  return QDir::currentPath();
}

QString QtFileDialog::StartFileName(const FileDialogRequest& request) { return ToQString(request.fileName); }

SaveFileAnswer QtFileDialog::Save(const FileDialogRequest& request, QWidget* parent,
                                  std::string& chosenPath) {
  Seam& seam = TheSeam();
  seam.lastFolder = StartFolder(request);
  seam.lastFileName = StartFileName(request);
  QString defaultSuffix = ToQString(request.defaultExt);
  if (seam.nextFileName) {
    QString answer = *seam.nextFileName;
    seam.nextFileName.reset();
    if (answer.isEmpty()) return SaveFileAnswer::Cancelled;
    if (QFileInfo(answer).suffix().isEmpty() && !defaultSuffix.isEmpty())
      answer += QLatin1Char('.') + defaultSuffix;
    if (!HasCp932Form(answer)) return SaveFileAnswer::NameWithoutCp932Form;
    const std::optional<std::string> windowsPath = WindowsFormOf(answer);
    if (!windowsPath) return SaveFileAnswer::Cancelled;
    chosenPath = *windowsPath;
    return SaveFileAnswer::Chosen;
  }

  // The dialog starts in the request's folder, else in the current folder, in Windows form.
  std::string folder = request.initialDir;
  if (folder.empty()) folder = win::ToWindowsPath(QDir::currentPath().toStdString()).value_or(std::string());
  DriveFileDialog dialog(parent, ToQString(request.title), folder, seam.lastFileName,
                         NameFilters(request.filter), defaultSuffix);
  if (dialog.exec() != QDialog::Accepted) return dialog.Answer();
  chosenPath = dialog.ChosenPath();
  return SaveFileAnswer::Chosen;
}

}  // namespace platform::qt

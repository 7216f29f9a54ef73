// The save-file dialog over the drive map.
#include "platform/qt/DriveFileDialog.h"

#include <optional>

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>

#include "platform/DriveMap.h"
#include "platform/WinFs.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtText.h"

namespace platform::qt {
namespace {

bool IsSeparator(QChar c) { return c == QLatin1Char('\\'); }

// "C:\" and "\\server\share\" are roots; a folder is written without its final separator
// unless it is one.
QString WithoutTrailingSeparator(QString folder) {
  while (folder.size() > 3 && IsSeparator(folder.back())) folder.chop(1);
  return folder;
}

bool IsRoot(const QString& folder, const QStringList& roots) {
  const QString bare = WithoutTrailingSeparator(folder);
  for (const QString& root : roots) {
    if (bare.compare(WithoutTrailingSeparator(root), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

QString Join(const QString& folder, const QString& name) {
  return folder.endsWith(QLatin1Char('\\')) ? folder + name : folder + QLatin1Char('\\') + name;
}

// A Windows-form path that names its drive or share itself.
bool IsAbsolute(const QString& path) {
  return (path.size() >= 3 && path[0].isLetter() && path[1] == QLatin1Char(':') && IsSeparator(path[2])) ||
         path.startsWith(QStringLiteral("\\\\"));
}

// The root of a Windows-form path: "C:\" or "\\server\share\"; empty without one.
QString Root(const QString& path) {
  if (path.size() >= 3 && path[1] == QLatin1Char(':')) return path.left(3);
  if (!path.startsWith(QStringLiteral("\\\\"))) return QString();
  const qsizetype server = path.indexOf(QLatin1Char('\\'), 2);
  const qsizetype share = server < 0 ? -1 : path.indexOf(QLatin1Char('\\'), server + 1);
  return share < 0 ? QString() : path.left(share + 1);
}

std::optional<QString> LinuxFolderOf(const QString& windowsFolder) {
  const std::optional<std::string> mapped = win::ToNativePath(FromQString(windowsFolder));
  if (!mapped) return std::nullopt;
  const QString folder = QString::fromStdString(*mapped);
  if (!QFileInfo(folder).isDir()) return std::nullopt;
  return folder;
}

// The file list in the words and forms of the Japanese Windows dialog: column titles, the
// kind of each entry named from its extension, sizes in whole kilobytes, dates as yyyy/MM/dd.
class JapaneseFileModel : public QFileSystemModel {
 public:
  using QFileSystemModel::QFileSystemModel;

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
      return QFileSystemModel::headerData(section, orientation, role);
    switch (section) {
      case 0:
        return QStringLiteral("名前");
      case 1:
        return QStringLiteral("サイズ");
      case 2:
        return QStringLiteral("種類");
      default:
        return QStringLiteral("更新日時");
    }
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || index.column() == 0) return QFileSystemModel::data(index, role);
    const QFileInfo info = fileInfo(index);
    switch (index.column()) {
      case 1:
        if (info.isDir()) return QString();
        return QString::number((info.size() + 1023) / 1024) + QStringLiteral(" KB");
      case 2: {
        if (info.isDir()) return QStringLiteral("ファイル フォルダー");
        const QString suffix = info.suffix().toUpper();
        if (suffix.isEmpty()) return QStringLiteral("ファイル");
        if (suffix == QStringLiteral("XML")) return QStringLiteral("XML ドキュメント");
        return suffix + QStringLiteral(" ファイル");
      }
      default:
        return info.lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    }
  }
};

// The drive roots whose folders exist, then the shares.
QStringList MappedRoots() {
  const std::shared_ptr<const win::DriveMap> map = win::DriveMap::Current();
  QStringList roots;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const win::DriveEntry& drive = map->Drive(letter);
    if (!drive.present || drive.folder.empty()) continue;
    if (!QFileInfo(QString::fromStdString(drive.folder)).isDir()) continue;
    roots << QString(QLatin1Char(letter)) + QStringLiteral(":\\");
  }
  for (const win::ShareEntry& share : map->Shares()) {
    roots << QStringLiteral("\\\\") + ToQString(share.server) + QLatin1Char('\\') + ToQString(share.share) +
                 QLatin1Char('\\');
  }
  return roots;
}

}  // namespace

DriveFileDialog::DriveFileDialog(QWidget* parent, const QString& title, const std::string& folder,
                                 const QString& fileName, const QStringList& nameFilters,
                                 const QString& defaultSuffix)
    : QDialog(parent), defaultSuffix_(defaultSuffix) {
  setWindowTitle(title);
  // The owner's dialog font, which draws the separator 0x5C as the yen sign, as a Japanese
  // Windows does: paths look the same in both windows.
  setFont(parent ? parent->font() : DialogFont(DialogTemplate{}));
  roots_ = MappedRoots();

  lookIn_ = new QComboBox(this);
  lookIn_->setObjectName(QStringLiteral("lookIn"));
  lookIn_->setMinimumContentsLength(40);
  up_ = new QToolButton(this);
  up_->setObjectName(QStringLiteral("up"));
  up_->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
  up_->setToolTip(QStringLiteral("1 つ上のフォルダへ"));

  model_ = new JapaneseFileModel(this);
  model_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
  model_->setNameFilterDisables(false);
  view_ = new QTreeView(this);
  view_->setObjectName(QStringLiteral("files"));
  view_->setModel(model_);
  view_->setRootIsDecorated(false);
  view_->setItemsExpandable(false);
  view_->setSortingEnabled(true);
  view_->sortByColumn(0, Qt::AscendingOrder);
  view_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  view_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  view_->setMinimumSize(520, 260);

  name_ = new QLineEdit(fileName, this);
  name_->setObjectName(QStringLiteral("fileName"));
  types_ = new QComboBox(this);
  types_->setObjectName(QStringLiteral("fileTypes"));
  types_->addItems(nameFilters);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, Qt::Vertical, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &DriveFileDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &DriveFileDialog::reject);

  auto* lookInLabel = new QLabel(QStringLiteral("保存する場所(&I):"), this);
  lookInLabel->setBuddy(lookIn_);
  auto* nameLabel = new QLabel(QStringLiteral("ファイル名(&N):"), this);
  nameLabel->setBuddy(name_);
  auto* typesLabel = new QLabel(QStringLiteral("ファイルの種類(&T):"), this);
  typesLabel->setBuddy(types_);

  auto* grid = new QGridLayout(this);
  grid->addWidget(lookInLabel, 0, 0);
  grid->addWidget(lookIn_, 0, 1);
  grid->addWidget(up_, 0, 2);
  grid->addWidget(view_, 1, 0, 1, 3);
  grid->addWidget(nameLabel, 2, 0);
  grid->addWidget(name_, 2, 1);
  grid->addWidget(typesLabel, 3, 0);
  grid->addWidget(types_, 3, 1);
  grid->addWidget(buttons, 2, 2, 2, 1);

  connect(up_, &QToolButton::clicked, this, [this] {
    const QString current = WithoutTrailingSeparator(ToQString(folder_));
    const qsizetype cut = current.lastIndexOf(QLatin1Char('\\'));
    if (cut > 0) Enter(FromQString(current.left(cut == 2 ? 3 : cut)));
  });
  connect(lookIn_, &QComboBox::activated, this,
          [this](int index) { Enter(FromQString(lookIn_->itemData(index).toString())); });
  connect(view_, &QTreeView::activated, this, &DriveFileDialog::Activated);
  connect(view_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    if (!model_->isDir(index)) name_->setText(model_->fileName(index));
  });
  connect(types_, &QComboBox::currentIndexChanged, this, &DriveFileDialog::ApplyFilter);
  ApplyFilter(0);

  if (!Enter(folder) && !roots_.isEmpty()) Enter(FromQString(roots_.front()));
  name_->setFocus();
  name_->selectAll();
}

bool DriveFileDialog::Enter(const std::string& windowsFolder) {
  const QString folder = WithoutTrailingSeparator(ToQString(windowsFolder));
  const std::optional<QString> linuxFolder = LinuxFolderOf(folder);
  if (!linuxFolder) return false;
  folder_ = FromQString(folder);
  model_->setRootPath(*linuxFolder);
  view_->setRootIndex(model_->index(*linuxFolder));
  up_->setEnabled(!IsRoot(folder, roots_));
  FillLookIn();
  return true;
}

void DriveFileDialog::FillLookIn() {
  // The drives, with the folder shown under its own drive, as the Windows dialog lists it.
  const QString current = ToQString(folder_);
  lookIn_->clear();
  int currentIndex = -1;
  for (const QString& root : roots_) {
    lookIn_->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), root, root);
    const bool onThisDrive = current.startsWith(WithoutTrailingSeparator(root), Qt::CaseInsensitive);
    if (!onThisDrive) continue;
    if (IsRoot(current, {root})) {
      currentIndex = lookIn_->count() - 1;
    } else {
      lookIn_->addItem(style()->standardIcon(QStyle::SP_DirOpenIcon), current, current);
      currentIndex = lookIn_->count() - 1;
    }
  }
  lookIn_->setCurrentIndex(currentIndex);
}

void DriveFileDialog::ApplyFilter(int index) {
  // "Xml Files (*.xml)" carries its patterns in the parentheses.
  const QString filter = types_->itemText(index);
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
  QStringList patterns;
  if (open >= 0 && close > open)
    patterns = filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  model_->setNameFilters(patterns);
}

void DriveFileDialog::Activated(const QModelIndex& index) {
  if (model_->isDir(index)) {
    const QString folder = Join(ToQString(folder_), model_->fileName(index));
    // Without its characters the name would be another folder's.
    if (!HasCp932Form(folder)) {
      answer_ = SaveFileAnswer::NameWithoutCp932Form;
      reject();
      return;
    }
    Enter(FromQString(folder));
    return;
  }
  name_->setText(model_->fileName(index));
  accept();
}

void DriveFileDialog::accept() {
  const QString typed = name_->text().trimmed();
  if (typed.isEmpty()) return;
  QString path = IsAbsolute(typed) ? typed : Join(ToQString(folder_), typed);
  // Without its characters the name would be another file's: the program says so.
  if (!HasCp932Form(path)) {
    answer_ = SaveFileAnswer::NameWithoutCp932Form;
    reject();
    return;
  }
  // A folder named in the edit is entered, as the Windows dialog does.
  if (LinuxFolderOf(path)) {
    Enter(FromQString(path));
    name_->clear();
    return;
  }
  const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
  const QString parent = path.left(cut == 2 ? 3 : cut);
  if (cut < 0 || !LinuxFolderOf(parent)) {
    // A drive that is mapped but lacks the folder is told apart from a drive that is not.
    const bool onMappedDrive = cut >= 0 && win::ToNativePath(FromQString(Root(path))).has_value();
    QMessageBox box(
        QMessageBox::Warning, windowTitle(),
        (onMappedDrive ? QStringLiteral("フォルダ %1 が見つかりません。\nフォルダ名を確認してください。")
                       : QStringLiteral("フォルダ %1 は、割り当てられたドライブにありません。\n"
                                        "別の場所を選んでください。"))
            .arg(parent),
        QMessageBox::Ok, this);
    box.setFont(font());
    box.exec();
    return;
  }
  // Appended as given, as the Windows dialog does.
  if (!defaultSuffix_.isEmpty() && !path.mid(cut + 1).contains(QLatin1Char('.')))
    path += QLatin1Char('.') + defaultSuffix_;
  chosen_ = FromQString(path);
  answer_ = SaveFileAnswer::Chosen;
  QDialog::accept();
}

}  // namespace platform::qt

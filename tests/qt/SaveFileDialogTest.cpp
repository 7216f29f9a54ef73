// The save-file dialog: it starts in the requested folder through the drive map, lists the
// map's drives as its roots, shows and answers Windows-form paths, in Japanese throughout,
// and neither chooses nor cancels on a name without a code page 932 form.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "platform/Cp932.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/ui/UiBackend.h"
#include "tests/qt/QtFixture.h"

namespace velmora::qttest {
namespace {

class QtSaveFileDialog : public QtFixture {};

TEST_F(QtSaveFileDialog, StartsInTheMappedFolderAndAnswersInWindowsForm) {
  std::filesystem::create_directories(host_->cDrive() / "出力");
  platform::FileDialogRequest request;
  request.initialDir = platform::cp932::LiteralFromUtf8("C:\\出力\\");
  request.fileName = platform::cp932::LiteralFromUtf8("決算.xml");
  request.defaultExt = "XML";
  request.filter = "Xml Files (*.xml)|*.xml||";

  platform::qt::QtFileDialog::SetNextFileName(
      QString::fromStdString((host_->cDrive() / "出力" / "kessan").string()));
  std::string chosen;
  ASSERT_EQ(platform::SaveFileAnswer::Chosen, platform::Ui().SaveFileDialog(request, chosen));
  // The default extension is appended as given when the name has none.
  EXPECT_EQ(platform::cp932::LiteralFromUtf8("C:\\出力\\kessan.XML"), chosen) << chosen;
  EXPECT_EQ(QString::fromStdString((host_->cDrive() / "出力").string()),
            platform::qt::QtFileDialog::LastFolder());
  EXPECT_EQ(Utf8("決算.xml"), platform::qt::QtFileDialog::LastFileName());

  platform::qt::QtFileDialog::SetNextFileName(QString());
  EXPECT_EQ(platform::SaveFileAnswer::Cancelled, platform::Ui().SaveFileDialog(request, chosen));

  // A folder outside every mapped drive cannot be named in Windows form (the map names Z:,
  // which would otherwise stay "/").
  platform::qt::QtFileDialog::SetNextFileName(QStringLiteral("/nonexistent-root/file.xml"));
  std::ofstream(host_->drivesFile(), std::ios::trunc)
      << "C: \"" << host_->cDrive().string() << "\" fixed\nZ: - fixed\n";
  EXPECT_EQ(platform::SaveFileAnswer::Cancelled, platform::Ui().SaveFileDialog(request, chosen));

  EXPECT_EQ(QStringList{QStringLiteral("Xml Files (*.xml)")},
            platform::qt::QtFileDialog::NameFilters("Xml Files (*.xml)|*.xml||"));
  EXPECT_EQ((QStringList{QStringLiteral("Text (*.txt *.csv)"), QStringLiteral("All (*.*)")}),
            platform::qt::QtFileDialog::NameFilters("Text|*.txt;*.csv|All|*.*||"));
}

TEST_F(QtSaveFileDialog, ANameWithoutACodePage932FormIsNeitherChosenNorCancelled) {
  // A folder whose name holds an emoji, beside one the program can name.
  std::filesystem::create_directories(host_->cDrive() / "出力" / "旅行😀");
  platform::FileDialogRequest request;
  request.initialDir = platform::cp932::LiteralFromUtf8("C:\\出力\\");
  request.fileName = "a.xml";
  request.defaultExt = "XML";
  request.filter = "Xml Files (*.xml)|*.xml||";
  std::string chosen = "untouched";
  // Without it the name would lose a character and name another file.
  for (const char* name : {"決算😀.xml", "𠮷野家.xml", "旅行😀/a.xml"}) {
    platform::qt::QtFileDialog::SetNextFileName(QString::fromStdString((host_->cDrive() / "出力").string()) +
                                                QLatin1Char('/') + QString::fromUtf8(name));
    EXPECT_EQ(platform::SaveFileAnswer::NameWithoutCp932Form, platform::Ui().SaveFileDialog(request, chosen))
        << name;
  }
  EXPECT_EQ("untouched", chosen);

  // In the dialog itself: a typed name, then a folder opened from the list.
  QTimer::singleShot(0, [&] {
    auto* name = QApplication::activeModalWidget()->findChild<QLineEdit*>(QStringLiteral("fileName"));
    name->setText(Utf8("決算😀"));
    QTest::keyClick(name, Qt::Key_Return);
  });
  EXPECT_EQ(platform::SaveFileAnswer::NameWithoutCp932Form, platform::Ui().SaveFileDialog(request, chosen));
  QTimer::singleShot(0, [&] {
    auto* dialog = QApplication::activeModalWidget();
    auto* files = dialog->findChild<QTreeView*>(QStringLiteral("files"));
    auto* model = qobject_cast<QFileSystemModel*>(files->model());
    const QModelIndex folder =
        model->index(QString::fromStdString((host_->cDrive() / "出力" / "旅行😀").string()));
    if (!folder.isValid()) {
      ADD_FAILURE() << "the folder is not listed";
      dialog->close();
      return;
    }
    emit files->activated(folder);
  });
  EXPECT_EQ(platform::SaveFileAnswer::NameWithoutCp932Form, platform::Ui().SaveFileDialog(request, chosen));
  EXPECT_EQ("untouched", chosen);
}

TEST_F(QtSaveFileDialog, HasTheDrivesAsRootsAndShowsWindowsFormPaths) {
  std::filesystem::create_directories(host_->cDrive() / "出力" / "下");
  const std::filesystem::path earlier = host_->cDrive() / "出力" / "前期.xml";
  std::ofstream(earlier) << std::string(1500, 'x');
  ASSERT_EQ(0, std::system(("touch -d '2024-05-06 07:08' '" + earlier.string() + "'").c_str()));
  platform::FileDialogRequest request;
  request.initialDir = platform::cp932::LiteralFromUtf8("C:\\出力\\");
  request.fileName = platform::cp932::LiteralFromUtf8("決算.xml");
  request.defaultExt = "XML";
  request.filter = "Xml Files (*.xml)|*.xml||";
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(nullptr, dialog);
    auto* lookIn = dialog->findChild<QComboBox*>(QStringLiteral("lookIn"));
    auto* up = dialog->findChild<QToolButton*>(QStringLiteral("up"));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileName"));
    ASSERT_TRUE(lookIn && up && name);
    QStringList items;
    for (int i = 0; i < lookIn->count(); ++i) items << lookIn->itemText(i);
    // The drives of the map, the folder under its drive.
    EXPECT_EQ((QStringList{Utf8("C:\\"), Utf8("C:\\出力"), Utf8("Z:\\")}), items);
    EXPECT_EQ(Utf8("C:\\出力"), lookIn->currentText());
    EXPECT_EQ(Utf8("決算.xml"), name->text());
    EXPECT_TRUE(up->isEnabled());
    // A folder typed by name is entered; up goes back to its parent.
    name->setText(Utf8("下"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(Utf8("C:\\出力\\下"), lookIn->currentText());
    EXPECT_TRUE(name->text().isEmpty());
    up->click();
    EXPECT_EQ(Utf8("C:\\出力"), lookIn->currentText());
    // A drive outside the map is refused with a message; the dialog stays.
    AnswerBoxes({QMessageBox::Ok});
    name->setText(QStringLiteral("Q:\\a.xml"));
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_FALSE(Boxes().empty());
    EXPECT_TRUE(Boxes().back().text.contains(QStringLiteral("Q:\\"))) << Boxes().back().text.toStdString();
    EXPECT_TRUE(Boxes().back().text.contains(Utf8("割り当てられたドライブにありません")))
        << Boxes().back().text.toStdString();
    // On a mapped drive only the folder is missing, and the box says so.
    AnswerBoxes({QMessageBox::Ok});
    name->setText(Utf8("C:\\無い\\a.xml"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(Utf8("フォルダ C:\\無い が見つかりません。\nフォルダ名を確認してください。"),
              Boxes().back().text);
    EXPECT_TRUE(dialog->isVisible());
    // Japanese throughout: the list's titles, kinds, sizes and dates as the Windows dialog
    // shows them, in the font that draws the separator as the conditions dialog does.
    EXPECT_EQ(platform::qt::DialogFont(platform::DialogTemplate{}), dialog->font());
    auto* files = dialog->findChild<QTreeView*>(QStringLiteral("files"));
    auto* model = qobject_cast<QFileSystemModel*>(files->model());
    QStringList titles;
    for (int column = 0; column < 4; ++column) titles << model->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ((QStringList{Utf8("名前"), Utf8("サイズ"), Utf8("種類"), Utf8("更新日時")}), titles);
    const QString folder = QString::fromStdString((host_->cDrive() / "出力").string());
    // The model reads the folder on a thread of its own.
    for (int wait = 0; wait < 100 && model->rowCount(model->index(folder)) < 2; ++wait) QTest::qWait(20);
    const QModelIndex document = model->index(folder + Utf8("/前期.xml"), 1);
    const QModelIndex below = model->index(folder + Utf8("/下"), 1);
    ASSERT_TRUE(document.isValid() && below.isValid());
    EXPECT_EQ(QStringLiteral("2 KB"), document.data().toString());
    EXPECT_EQ(Utf8("XML ドキュメント"), document.siblingAtColumn(2).data().toString());
    EXPECT_EQ(QStringLiteral("2024/05/06 07:08"), document.siblingAtColumn(3).data().toString());
    EXPECT_EQ(QString(), below.data().toString());
    EXPECT_EQ(Utf8("ファイル フォルダー"), below.siblingAtColumn(2).data().toString());
    // A drive root has no parent.
    emit lookIn->activated(0);
    EXPECT_EQ(Utf8("C:\\"), lookIn->currentText());
    EXPECT_FALSE(up->isEnabled());
    name->setText(QStringLiteral("kessan"));
    QTest::keyClick(name, Qt::Key_Return);
  });
  std::string chosen;
  ASSERT_EQ(platform::SaveFileAnswer::Chosen, platform::Ui().SaveFileDialog(request, chosen));
  EXPECT_EQ("C:\\kessan.XML", chosen);
  // A name with a drive of its own goes there, wherever the dialog stands.
  QTimer::singleShot(0, [&] {
    auto* name = QApplication::activeModalWidget()->findChild<QLineEdit*>(QStringLiteral("fileName"));
    name->setText(Utf8("C:\\下書き.xml"));
    QTest::keyClick(name, Qt::Key_Return);
  });
  ASSERT_EQ(platform::SaveFileAnswer::Chosen, platform::Ui().SaveFileDialog(request, chosen));
  EXPECT_EQ(platform::cp932::LiteralFromUtf8("C:\\下書き.xml"), chosen);
}

}  // namespace
}  // namespace velmora::qttest

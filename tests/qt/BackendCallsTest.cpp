// The backend's answers outside the conditions dialog: message boxes, the save-file dialog
// through the drive map, the wait cursor, the display check, the dialog font and units.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "platform/Cp932.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/ui/Window.h"
#include "runtime/Connect.h"
#include "tests/qt/QtFixture.h"

namespace velmora::qttest {
namespace {

class QtBackendCalls : public QtFixture {};

TEST_F(QtBackendCalls, MessageBoxesCarryIconButtonsAndOwner) {
  auto dialog = Conditions();
  RunModal(*dialog, [&](platform::qt::DialogWindow& window) {
    const std::string caption = platform::cp932::LiteralFromUtf8("決算書");
    const std::string text = platform::cp932::LiteralFromUtf8("上書きしますか？");
    AnswerBoxes({QMessageBox::No, QMessageBox::Yes, QMessageBox::Ok});
    EXPECT_EQ(platform::IDNO, platform::MessageBoxA(dialog->GetSafeHwnd(), text, caption,
                                                    platform::MB_YESNO | platform::MB_ICONQUESTION));
    EXPECT_EQ(platform::IDYES,
              platform::MessageBoxA(0, text, caption, platform::MB_YESNO | platform::MB_ICONQUESTION));
    EXPECT_EQ(platform::IDOK,
              platform::MessageBoxA(dialog->GetSafeHwnd(), text, caption, platform::MB_ICONINFORMATION));
    ASSERT_EQ(3u, Boxes().size());
    EXPECT_EQ(Utf8("上書きしますか？"), Boxes()[0].text);
    EXPECT_EQ(Utf8("決算書"), Boxes()[0].caption);
    EXPECT_EQ(QMessageBox::Question, Boxes()[0].icon);
    EXPECT_EQ(QMessageBox::Yes | QMessageBox::No, Boxes()[0].buttons);
    EXPECT_EQ(&window, Boxes()[0].parent);
    EXPECT_EQ(nullptr, Boxes()[1].parent);
    EXPECT_EQ(QMessageBox::Information, Boxes()[2].icon);
    // Qt's own button texts are Japanese, like everything else the program shows.
    EXPECT_EQ(QStringList({QString::fromUtf8("いいえ(&N)"), QString::fromUtf8("はい(&Y)")}),
              Boxes()[0].buttonTexts);
    EXPECT_EQ(QStringList({QStringLiteral("OK")}), Boxes()[2].buttonTexts);
    dialog->EndDialog(platform::IDCANCEL);
  });
}

TEST_F(QtBackendCalls, SaveFileDialogStartsInTheMappedFolderAndAnswersInWindowsForm) {
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

TEST_F(QtBackendCalls, ANameWithoutACodePage932FormIsNeitherChosenNorCancelled) {
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

TEST_F(QtBackendCalls, SaveFileDialogHasTheDrivesAsRootsAndShowsWindowsFormPaths) {
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

TEST_F(QtBackendCalls, WithoutAHostInstallationABoxSaysWhatIsMissingAndHowToSetItUp) {
  ClAccConnect::Inst().Terminate();
  const std::filesystem::path empty = host_->root() / "empty";
  std::filesystem::create_directories(empty);
  struct Case {
    std::filesystem::path home;
    const char* missing;
  };
  for (const Case& c : {Case{host_->root() / "absent", "がありません"}, Case{empty, "orbeck.db"}}) {
    setenv("ORBECK_HOME", c.home.c_str(), 1);
    AnswerBoxes({QMessageBox::Ok});
    EXPECT_EQ(2, RunProgram("x.xml"));
    ASSERT_FALSE(Boxes().empty());
    const SeenBox& box = Boxes().back();
    EXPECT_EQ(QMessageBox::Warning, box.icon);
    EXPECT_EQ(Utf8("決算書"), box.caption);
    for (const QString& part : {QString::fromStdString(c.home.string()), Utf8(c.missing),
                                QStringLiteral("ORBECK_HOME"), QStringLiteral("orbeck-admin load")}) {
      EXPECT_TRUE(box.text.contains(part)) << part.toStdString() << " not in " << box.text.toStdString();
    }
  }
}

TEST_F(QtBackendCalls, WaitCursorFollowsTheNestingDepth) {
  EXPECT_EQ(nullptr, QApplication::overrideCursor());
  platform::BeginWaitCursor();
  platform::BeginWaitCursor();
  ASSERT_NE(nullptr, QApplication::overrideCursor());
  EXPECT_EQ(Qt::WaitCursor, QApplication::overrideCursor()->shape());
  platform::EndWaitCursor();
  ASSERT_NE(nullptr, QApplication::overrideCursor());
  platform::RestoreWaitCursor();
  platform::EndWaitCursor();
  EXPECT_EQ(nullptr, QApplication::overrideCursor());
  platform::EndWaitCursor();
  EXPECT_EQ(nullptr, QApplication::overrideCursor());
}

// Whether a Unix socket takes a connection within about five seconds.
bool AcceptsConnections(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  for (int i = 0; i < 100; ++i) {
    const int probe = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool connected = ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    if (connected) return true;
    QTest::qWait(50);
  }
  return false;
}

// Display servers for the display check: a live X server (Xvfb), an X server that accepts
// but never answers, a Wayland socket, and display numbers nobody serves.
class DisplayServers {
 public:
  DisplayServers()
      : folder_(std::filesystem::temp_directory_path() / ("velmora-displays-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_);
    // Xvfb picks a free display number itself and writes it to descriptor 5. Without
    // -noreset it resets when its last client leaves, and a case connecting during that
    // reset (on a loaded machine) sees a live display refuse.
    const std::string command = "Xvfb -displayfd 5 -noreset -nolisten tcp -screen 0 320x200x24 5>'" +
                                (folder_ / "number").string() + "' 2>/dev/null & echo $! >'" +
                                (folder_ / "pid").string() + "'";
    if (std::system(command.c_str()) == 0) {
      for (int i = 0; i < 200 && liveX.empty(); ++i) {
        std::ifstream number(folder_ / "number");
        std::string value;
        if (std::getline(number, value) && !value.empty()) liveX = ":" + value;
        if (liveX.empty()) QTest::qWait(50);
      }
      // The server must take connections before the cases start: a socket of the same
      // number left by a server still shutting down makes a live display look dead.
      if (!liveX.empty() && !AcceptsConnections("/tmp/.X11-unix/X" + liveX.substr(1))) liveX.clear();
    }
    silentX_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int display = 150; display < 250 && silentX.empty(); ++display) {
      address.sin_port = htons(static_cast<uint16_t>(6000 + display));
      if (::bind(silentX_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
          ::listen(silentX_, 4) == 0) {
        silentX = "127.0.0.1:" + std::to_string(display);
      }
    }
    wayland_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un unixAddress{};
    unixAddress.sun_family = AF_UNIX;
    const std::string socketPath = (folder_ / "wayland-test").string();
    std::snprintf(unixAddress.sun_path, sizeof unixAddress.sun_path, "%s", socketPath.c_str());
    if (::bind(wayland_, reinterpret_cast<sockaddr*>(&unixAddress), sizeof unixAddress) == 0)
      ::listen(wayland_, 4);
  }
  ~DisplayServers() {
    std::ifstream pid(folder_ / "pid");
    long xvfb = 0;
    if (pid >> xvfb && xvfb > 0 && ::kill(static_cast<pid_t>(xvfb), SIGTERM) == 0) {
      // Xvfb is not our child: wait until it is gone, so that its last act (removing its
      // socket) cannot remove the socket of the next test's server of the same number.
      for (int i = 0; i < 100 && ::kill(static_cast<pid_t>(xvfb), 0) == 0; ++i) QTest::qWait(50);
    }
    ::close(silentX_);
    ::close(wayland_);
    std::filesystem::remove_all(folder_);
  }
  std::string RuntimeFolder() const { return folder_.string(); }

  std::string liveX;    // empty when Xvfb could not be started
  std::string silentX;  // accepts connections and never answers

 private:
  std::filesystem::path folder_;
  int silentX_ = -1;
  int wayland_ = -1;
};

TEST(QtDisplayCheck, CountsOnlyDisplaysThatAnswer) {
  DisplayServers servers;
  ASSERT_FALSE(servers.liveX.empty()) << "Xvfb (package xvfb) did not start";
  ASSERT_FALSE(servers.silentX.empty());
  const std::string live = servers.liveX;
  const std::string silent = servers.silentX;
  struct Case {
    const char* platform;
    const char* display;
    const char* wayland;
    bool expected;
  };
  const Case cases[] = {
      {"offscreen", nullptr, nullptr, true},
      {"xcb", nullptr, nullptr, false},
      {"xcb", live.c_str(), nullptr, true},
      {"xcb", ":249", nullptr, false},          // nobody serves it
      {"xcb", silent.c_str(), nullptr, false},  // accepts, never answers: the check gives up
      {"wayland", live.c_str(), nullptr, false},
      {"wayland", nullptr, "wayland-test", true},
      {"wayland;xcb", live.c_str(), "wayland-absent", true},
      {nullptr, nullptr, nullptr, false},
      {nullptr, ":249", "wayland-absent", false},
      {nullptr, ":249", "wayland-test", true},
      {"", live.c_str(), nullptr, true},
  };
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};
  std::optional<std::string> saved[4];
  for (int i = 0; i < 4; ++i) {
    if (const char* value = std::getenv(names[i])) saved[i] = value;
  }
  for (const Case& c : cases) {
    const std::string runtime = servers.RuntimeFolder();
    const char* values[] = {c.platform, c.display, c.wayland, runtime.c_str()};
    for (int i = 0; i < 4; ++i) {
      if (values[i]) {
        setenv(names[i], values[i], 1);
      } else {
        unsetenv(names[i]);
      }
    }
    EXPECT_EQ(c.expected, platform::qt::DisplayAvailable())
        << (c.platform ? c.platform : "(unset)") << " DISPLAY=" << (c.display ? c.display : "(unset)")
        << " WAYLAND_DISPLAY=" << (c.wayland ? c.wayland : "(unset)");
  }
  for (int i = 0; i < 4; ++i) {
    if (saved[i]) {
      setenv(names[i], saved[i]->c_str(), 1);
    } else {
      unsetenv(names[i]);
    }
  }
}

TEST(QtDialogFont, JapaneseFaceMapsToTheIpaFontAndSetsTheUnits) {
  EnsureApplication();
  platform::DialogTemplate tmpl;
  tmpl.fontName = platform::cp932::LiteralFromUtf8("ＭＳ Ｐゴシック");
  tmpl.fontPoints = 9;
  const QFont font = platform::qt::DialogFont(tmpl);
  EXPECT_EQ(QStringLiteral("IPAPGothic"), QFontInfo(font).family());
  EXPECT_EQ(12, font.pixelSize());
  const platform::qt::DialogUnits units = platform::qt::UnitsOf(font);
  const QFontMetrics metrics(font);
  int letters = 0;
  for (char c = 'A'; c <= 'Z'; ++c) letters += metrics.horizontalAdvance(QLatin1Char(c));
  for (char c = 'a'; c <= 'z'; ++c) letters += metrics.horizontalAdvance(QLatin1Char(c));
  // Per-letter advances summed may differ from the string's width by rounding only.
  EXPECT_NEAR(letters / 52.0, units.baseWidth, 1.0);
  EXPECT_EQ(metrics.ascent() + metrics.descent(), units.baseHeight);
}

TEST(QtDialogUnits, ConvertLikeTheDialogManager) {
  const platform::qt::DialogUnits units{7, 13};
  EXPECT_EQ(0, units.X(0));
  EXPECT_EQ(2, units.X(1));      // 1.75
  EXPECT_EQ(494, units.X(282));  // 493.5 rounds up
  EXPECT_EQ(20, units.Y(12));    // 19.5
  EXPECT_EQ(289, units.Y(178));  // 289.25
}

}  // namespace
}  // namespace velmora::qttest

// The backend's answers outside the conditions dialog: message boxes, the save-file dialog
// through the drive map, the wait cursor, the display check, the dialog font and units.
#include <cstdlib>
#include <fstream>

#include <QApplication>
#include <QFontInfo>
#include <QTest>

#include "platform/Cp932.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/ui/Window.h"
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
  ASSERT_TRUE(platform::Ui().SaveFileDialog(request, chosen));
  // The default extension is appended as given when the name has none.
  EXPECT_EQ(platform::cp932::LiteralFromUtf8("C:\\出力\\kessan.XML"), chosen) << chosen;
  EXPECT_EQ(QString::fromStdString((host_->cDrive() / "出力").string()),
            platform::qt::QtFileDialog::LastFolder());
  EXPECT_EQ(Utf8("決算.xml"), platform::qt::QtFileDialog::LastFileName());

  platform::qt::QtFileDialog::SetNextFileName(QString());
  EXPECT_FALSE(platform::Ui().SaveFileDialog(request, chosen));

  // A folder outside every mapped drive cannot be named in Windows form.
  platform::qt::QtFileDialog::SetNextFileName(QStringLiteral("/nonexistent-root/file.xml"));
  std::ofstream(host_->drivesFile(), std::ios::trunc) << "C: \"" << host_->cDrive().string() << "\" fixed\n";
  EXPECT_FALSE(platform::Ui().SaveFileDialog(request, chosen));

  EXPECT_EQ(QStringList{QStringLiteral("Xml Files (*.xml)")},
            platform::qt::QtFileDialog::NameFilters("Xml Files (*.xml)|*.xml||"));
  EXPECT_EQ((QStringList{QStringLiteral("Text (*.txt *.csv)"), QStringLiteral("All (*.*)")}),
            platform::qt::QtFileDialog::NameFilters("Text|*.txt;*.csv|All|*.*||"));
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

TEST(QtDisplayCheck, FollowsThePlatformAndTheDisplayVariables) {
  struct Case {
    const char* platform;
    const char* display;
    const char* wayland;
    bool expected;
  };
  const Case cases[] = {
      {"offscreen", nullptr, nullptr, true},
      {"xcb", nullptr, nullptr, false},
      {"xcb", ":0", nullptr, true},
      {"wayland", ":0", nullptr, false},
      {nullptr, nullptr, nullptr, false},
      {nullptr, nullptr, "wayland-0", true},
      {"", ":1", nullptr, true},
  };
  const std::string saved[] = {std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "",
                               std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "",
                               std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : ""};
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  for (const Case& c : cases) {
    const char* values[] = {c.platform, c.display, c.wayland};
    for (int i = 0; i < 3; ++i) {
      if (values[i]) {
        setenv(names[i], values[i], 1);
      } else {
        unsetenv(names[i]);
      }
    }
    EXPECT_EQ(c.expected, platform::qt::DisplayAvailable())
        << (c.platform ? c.platform : "(unset)") << " DISPLAY=" << (c.display ? c.display : "(unset)");
  }
  for (int i = 0; i < 3; ++i) {
    if (saved[i].empty()) {
      unsetenv(names[i]);
    } else {
      setenv(names[i], saved[i].c_str(), 1);
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

// The backend's answers to the program's calls outside any dialog: message boxes (the box
// of a run without a host installation among them) and the wait cursor.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>

#include "platform/Cp932.h"
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

}  // namespace
}  // namespace velmora::qttest

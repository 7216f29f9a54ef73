// The headless GUI fixture.
#include "tests/qt/QtFixture.h"

#include <cstdlib>

#include <filesystem>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "app/LinkApp.h"
#include "dialog/ConditionsTemplate.h"
#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/ui/UiBackend.h"
#include "runtime/Connect.h"
#include "tests/support/FilledConditions.h"

namespace velmora::qttest {

void EnsureApplication() {
  if (QApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "velmora-qt-test";
  static char* argv[] = {name, nullptr};
  // Kept for the whole process: Qt does not support a second application object.
  new QApplication(argc, argv);
}

void QtFixture::SetUp() {
  EnsureApplication();
  auto backend = MakeBackend();
  backend_ = backend.get();
  platform::SetUi(std::move(backend));
  WatchBoxes();
  host_ = std::make_unique<TestHost>();
  ASSERT_TRUE(host_->loaded());
  platform::faults::Clear();
  ASSERT_EQ(0, ClAccConnect::Inst().Initiate());
}

void QtFixture::TearDown() {
  delete watcher_;
  watcher_ = nullptr;
  EXPECT_TRUE(answers_.empty()) << answers_.size() << " expected message boxes were not shown";
  ClAccConnect::Inst().Terminate();
  platform::SetUi(nullptr);
  backend_ = nullptr;
  QApplication::processEvents();
  host_.reset();
}

std::unique_ptr<platform::qt::QtUiBackend> QtFixture::MakeBackend() {
  return std::make_unique<platform::qt::QtUiBackend>(nullptr);
}

int QtFixture::RunProgram(const std::string& fileName) {
  const std::filesystem::path programFolder = host_->cDrive() / "prog";
  std::filesystem::create_directories(programFolder);
  for (const char* name : {"ZentorDef.ini", "SUPPORT.INF"}) {
    std::filesystem::copy_file(std::filesystem::path(VELMORA_TEST_SOURCE_DIR) / "data" / name,
                               programFolder / name, std::filesystem::copy_options::overwrite_existing);
  }
  // The user: the output file typed over the proposed one, then F12.
  QTimer user;
  user.setInterval(5);
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* window = dynamic_cast<platform::qt::DialogWindow*>(QApplication::activeWindow());
    if (!window || !window->Dialog() || window->Dialog()->Template().id != kConditionsTemplateId) return;
    if (window->Dialog()->HasEnded()) return;
    auto* path = qobject_cast<QLineEdit*>(window->ControlWidget(kIdcOutputPath));
    path->selectAll();
    QTest::keyClicks(path, QString::fromStdString("C:\\" + fileName));
    QTest::keyClick(path, Qt::Key_F12);
  });
  user.start();
  LinkApp app(kVelmora1);
  app.m_programPath = "C:\\prog\\Velmora1.exe";
  return app.Run();
}

std::unique_ptr<ConditionsDialog> QtFixture::Conditions(const std::string& hostPath) {
  velmora::test::ConditionsFill fill;
  fill.companyUtf8 = " 株式会社試験";
  fill.periodUtf8 = " 2024/04/01～2025/03/31";
  fill.hostOutputPath = hostPath;
  return velmora::test::FilledConditions(fill);
}

std::string QtFixture::OutputOnC(const std::string& name) const { return "C:\\" + name; }

int QtFixture::RunModal(platform::CDialog& dialog, std::function<void(platform::qt::DialogWindow&)> user) {
  QTimer::singleShot(0, [this, &dialog, user] {
    platform::qt::DialogWindow* window = backend_->WindowOf(dialog);
    if (!window) {
      ADD_FAILURE() << "the modal dialog has no window";
      return;
    }
    // Keys and clicks reach a window the way a user's do only once it is active.
    if (!QTest::qWaitForWindowActive(window)) ADD_FAILURE() << "the dialog's window never became active";
    user(*window);
    // Whatever the test left open ends as a real user would end it, so no test hangs.
    if (!dialog.HasEnded()) {
      ADD_FAILURE() << "the dialog was still open after the user's actions";
      dialog.EndDialog(platform::IDCANCEL);
    }
  });
  return dialog.DoModal();
}

void QtFixture::AnswerBoxes(std::vector<QMessageBox::StandardButton> answers) {
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void QtFixture::WatchBoxes() {
  // Runs for the whole test, so that a box nobody expected fails the test instead of
  // waiting for a user forever.
  watcher_ = new QTimer(QApplication::instance());
  watcher_->setInterval(5);
  QObject::connect(watcher_, &QTimer::timeout, [this] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    QStringList buttonTexts;
    for (QAbstractButton* button : box->buttons()) buttonTexts << button->text();
    buttonTexts.sort();
    if (onBox) onBox(*box);
    boxes_.push_back(SeenBox{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                             box->parentWidget(), buttonTexts});
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected message box: " << box->text().toStdString();
      if (box->button(QMessageBox::No)) answer = QMessageBox::No;
    } else {
      answer = answers_.front();
      answers_.erase(answers_.begin());
    }
    if (QAbstractButton* button = box->button(answer)) {
      button->click();
    } else {
      ADD_FAILURE() << "the box has no button " << static_cast<int>(answer);
      box->done(0);
    }
  });
  watcher_->start();
}

}  // namespace velmora::qttest

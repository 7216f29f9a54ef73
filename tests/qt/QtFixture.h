// Headless GUI tests: one application object on the offscreen platform per process, the Qt
// backend installed as the UI, the real conditions dialog over a simulated host, and a
// watcher that answers message boxes while a modal loop runs.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialog/ConditionsDialog.h"
#include "platform/qt/DialogWindow.h"
#include "platform/qt/QtUiBackend.h"
#include "tests/support/TestHost.h"

namespace velmora::qttest {

using velmora::test::TestHost;

// The application object (offscreen); created on first use and kept for the process.
void EnsureApplication();

// A message box as the user saw it.
struct SeenBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QWidget* parent = nullptr;
  QStringList buttonTexts;
};

class QtFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The backend the fixture installs; a test may watch it through a subclass.
  virtual std::unique_ptr<platform::qt::QtUiBackend> MakeBackend();
  platform::qt::QtUiBackend& Backend() { return *backend_; }
  // A conditions dialog over the simulated host with a valid period (April to March);
  // hostPath non-empty starts it in parent mode with that output path.
  std::unique_ptr<ConditionsDialog> Conditions(const std::string& hostPath = {});
  // A Windows-form path of a new file on drive C: of the host.
  std::string OutputOnC(const std::string& name) const;

  // Runs the dialog modally; `user` runs inside its modal loop with the dialog's window.
  int RunModal(platform::CDialog& dialog, std::function<void(platform::qt::DialogWindow&)> user);
  // Answers the next message boxes, in order, with these buttons; the boxes seen are kept.
  void AnswerBoxes(std::vector<QMessageBox::StandardButton> answers);
  const std::vector<SeenBox>& Boxes() const { return boxes_; }
  // Called with every box as it is seen, before it is answered.
  std::function<void(QMessageBox&)> onBox;
  // A whole run of the standard edition over the simulated host, its program folder on C:
  // with the definition and support files; the user enters fileName in C:\ and presses F12.
  int RunProgram(const std::string& fileName);

  static QString Utf8(const char* text) { return QString::fromUtf8(text); }

  std::unique_ptr<TestHost> host_;

 private:
  void WatchBoxes();

  platform::qt::QtUiBackend* backend_ = nullptr;
  QTimer* watcher_ = nullptr;
  std::vector<QMessageBox::StandardButton> answers_;
  std::vector<SeenBox> boxes_;
};

}  // namespace velmora::qttest

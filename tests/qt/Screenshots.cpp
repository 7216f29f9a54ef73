// Renders the windows of docs/gui.md with the Japanese font: the conditions dialog (normal
// and parent mode), a message box, the save-file dialog and the progress window mid-run.
// Offscreen unless QT_QPA_PLATFORM says otherwise (xcb under Xvfb draws the same pixels);
// neither draws a frame, so a plain title bar with the caption is added.
//   qt_screenshots OUTPUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include "dialog/ConditionsDialog.h"
#include "dialog/ConditionsTemplate.h"
#include "platform/Cp932.h"
#include "platform/qt/DialogWindow.h"
#include "platform/qt/QtUiBackend.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/UiBackend.h"
#include "platform/ui/Window.h"
#include "runstate/ProgressWindow.h"
#include "runtime/Connect.h"
#include "tests/support/FilledConditions.h"
#include "tests/support/TestHost.h"

namespace {

namespace fs = std::filesystem;

QImage WithTitleBar(QWidget& window) {
  const QImage client = window.grab().toImage();
  const int bar = 26;
  QImage framed(client.width() + 2, client.height() + bar + 1, QImage::Format_ARGB32);
  framed.fill(QColor(0x70, 0x70, 0x70));
  QPainter painter(&framed);
  painter.fillRect(1, 1, client.width(), bar - 1, QColor(0xf3, 0xf3, 0xf3));
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(12);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(10, 1, client.width() - 40, bar - 1), Qt::AlignVCenter | Qt::AlignLeft,
                   window.windowTitle());
  if (window.windowFlags().testFlag(Qt::WindowCloseButtonHint)) {
    painter.drawText(QRect(client.width() - 30, 1, 28, bar - 1), Qt::AlignCenter, QStringLiteral("✕"));
  }
  painter.drawImage(1, bar, client);
  return framed;
}

bool Save(const QImage& image, const fs::path& file) {
  const bool saved = image.save(QString::fromStdString(file.string()));
  std::printf("%s %s\n", saved ? "wrote" : "could not write", file.c_str());
  return saved;
}

std::unique_ptr<ConditionsDialog> Conditions(const std::string& hostPath) {
  velmora::test::ConditionsFill fill;
  fill.companyUtf8 = " 株式会社ベルモア商事";
  fill.periodUtf8 = " 2024/04/01～2025/03/31";
  fill.hostOutputPath = hostPath;
  return velmora::test::FilledConditions(fill);
}

// Shows the dialog modally and runs `act` inside its loop, then ends it.
void WhileShown(platform::qt::QtUiBackend& backend, ConditionsDialog& dialog,
                std::function<void(platform::qt::DialogWindow&)> act) {
  QTimer::singleShot(0, [&] {
    platform::qt::DialogWindow* window = backend.WindowOf(dialog);
    if (!QTest::qWaitForWindowActive(window)) std::fprintf(stderr, "the dialog did not become active\n");
    act(*window);
    dialog.EndDialog(platform::IDCANCEL);
  });
  dialog.DoModal();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qt_screenshots OUTPUT_DIR\n");
    return 2;
  }
  const fs::path out = fs::absolute(argv[1]);
  fs::create_directories(out);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  velmora::test::TestHost host;
  ClAccConnect::Inst().Initiate();
  auto owned = std::make_unique<platform::qt::QtUiBackend>(nullptr);
  platform::qt::QtUiBackend& backend = *owned;
  platform::SetUi(std::move(owned));
  bool ok = true;

  auto normal = Conditions("");
  WhileShown(backend, *normal, [&](platform::qt::DialogWindow& window) {
    auto* path = qobject_cast<QLineEdit*>(window.ControlWidget(kIdcOutputPath));
    path->selectAll();
    path->insert(QString::fromUtf8("C:\\決算書\\kessan.xml"));
    QTest::mouseClick(window.ControlWidget(kIdcFirstMonth), Qt::LeftButton);
    ok &= Save(WithTitleBar(window), out / "conditions.png");
    // A message box over the dialog, as after a wrong month.
    QTimer::singleShot(50, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      ok &= Save(WithTitleBar(*box), out / "message-box.png");
      box->button(QMessageBox::Ok)->click();
    });
    platform::MessageBoxA(normal->GetSafeHwnd(),
                          SJ("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。"),
                          SJ("決算書"), platform::MB_OK | platform::MB_ICONEXCLAMATION);
  });

  // The save-file dialog in the folder of the output path, over the host's drive C:.
  fs::create_directories(host.cDrive() / "決算書" / "2023年度");
  std::ofstream(host.cDrive() / "決算書" / "kessan-2024.xml") << "<REPORT/>\n";
  platform::FileDialogRequest request;
  request.title = SJ("保存ファイルを指定");
  request.initialDir = SJ("C:\\決算書\\");
  request.fileName = "kessan.xml";
  request.defaultExt = "XML";
  request.filter = "Xml Files (*.xml)|*.xml||";
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    // The folder listing fills in from a thread of the file system model.
    QTest::qWait(300);
    ok &= Save(WithTitleBar(*dialog), out / "save-file.png");
    dialog->close();
  });
  std::string chosen;
  platform::Ui().SaveFileDialog(request, chosen);

  auto parent = Conditions("C:\\Zentor\\Export\\kessan.xml");
  WhileShown(backend, *parent, [&](platform::qt::DialogWindow& window) {
    ok &= Save(WithTitleBar(window), out / "conditions-parent-mode.png");
  });

  ProgressWindow progress;
  progress.Create();
  progress.InitMainBar();
  progress.ShowWindow(platform::SW_SHOW);
  progress.StepRange(1, 4700);
  // The activity bar half way through its run, as between two pulses.
  platform::ControlState* activity = progress.Control(kProgressActivityBarId);
  activity->pos = (activity->rangeLow + activity->rangeHigh) / 2;
  QTest::qWait(40);
  for (int i = 0; i < 16; ++i) platform::UpdateWindow(progress.GetSafeHwnd());
  ok &= Save(WithTitleBar(*backend.WindowOf(progress)), out / "progress.png");
  progress.DestroyWindow();

  platform::SetUi(nullptr);
  ClAccConnect::Inst().Terminate();
  return ok ? 0 : 1;
}

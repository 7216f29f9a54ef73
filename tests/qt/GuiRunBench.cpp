// Measures the Qt backend against the automation backend: whole demo runs of the standard
// edition in this process (the Qt windows offscreen, a user played through real key
// events), and one million activity pulses of the progress window.
//   qt_gui_bench SOURCE_DIR [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <nlohmann/json.hpp>

#include "app/LinkApp.h"
#include "dialog/ConditionsTemplate.h"
#include "platform/qt/DialogWindow.h"
#include "platform/qt/QtUiBackend.h"
#include "platform/script/ScriptBackend.h"
#include "runstate/ProgressWindow.h"
#include "tests/support/TestHost.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Plays the user of the Qt windows: the output file typed into the conditions dialog, F12,
// and every message box answered Yes or OK.
class QtUser {
 public:
  QtUser() {
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Act(); });
    timer_.start();
  }

 private:
  void Act() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      QAbstractButton* yes = box->button(QMessageBox::Yes);
      (yes ? yes : box->button(QMessageBox::Ok))->click();
      return;
    }
    auto* window = dynamic_cast<platform::qt::DialogWindow*>(modal);
    if (!window || !window->Dialog() || window->Dialog()->Template().id != kConditionsTemplateId) return;
    if (window->Dialog()->HasEnded() || !window->isActiveWindow()) return;
    auto* path = qobject_cast<QLineEdit*>(window->ControlWidget(kIdcOutputPath));
    path->selectAll();
    QTest::keyClicks(path, QStringLiteral("C:\\kessan.xml"));
    QTest::keyClick(path, Qt::Key_F12);
  }

  QTimer timer_;
};

struct DemoHost {
  explicit DemoHost(const fs::path& sourceDir)
      : host(nlohmann::json::parse(std::ifstream(sourceDir / "data" / "demo-company.json"))) {
    programFolder = host.cDrive() / "prog";
    fs::create_directories(programFolder);
    for (const char* name : {"ZentorDef.ini", "SUPPORT.INF"}) {
      fs::copy_file(sourceDir / "data" / name, programFolder / name, fs::copy_options::overwrite_existing);
    }
  }
  // One run of the standard edition; the seconds it took.
  double Run() {
    fs::remove(host.cDrive() / "kessan.xml");
    LinkApp app(kVelmora1);
    app.m_programPath = "C:\\prog\\Velmora1.exe";
    const Clock::time_point start = Clock::now();
    const int exitCode = app.Run();
    const double seconds = Seconds(start);
    if (exitCode != 0 || !fs::exists(host.cDrive() / "kessan.xml")) {
      std::fprintf(stderr, "demo run failed: exit code %d\n", exitCode);
      std::exit(2);
    }
    return seconds;
  }
  velmora::test::TestHost host;
  fs::path programFolder;
};

double PulseSeconds(int pulses) {
  ProgressWindow progress;
  progress.Create();
  progress.InitMainBar();
  progress.ShowWindow(platform::SW_SHOW);
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < pulses; ++i) progress.Pulse();
  const double seconds = Seconds(start);
  progress.DestroyWindow();
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qt_gui_bench SOURCE_DIR [RUNS]\n");
    return 2;
  }
  const fs::path sourceDir = fs::absolute(argv[1]);
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);

  std::vector<double> scripted;
  std::vector<double> qt;
  long realRepaints = 0;
  {
    DemoHost demo(sourceDir);
    for (int i = 0; i < runs; ++i) {
      platform::SetUi(
          std::make_unique<platform::script::ScriptBackend>("set 1015 C:\\kessan.xml\nclick 1002\n"));
      scripted.push_back(demo.Run());
      auto backend = std::make_unique<platform::qt::QtUiBackend>(nullptr);
      platform::qt::QtUiBackend& qtBackend = *backend;
      platform::SetUi(std::move(backend));
      QtUser user;
      qt.push_back(demo.Run());
      realRepaints = qtBackend.RealRepaints();
    }
  }
  std::printf("demo run, median of %d: automation %.1f ms, Qt offscreen %.1f ms (%.2fx), %ld real repaints\n",
              runs, Median(scripted) * 1e3, Median(qt) * 1e3, Median(qt) / Median(scripted), realRepaints);

  constexpr int kPulses = 1000000;
  platform::SetUi(std::make_unique<platform::script::ScriptBackend>(""));
  const double scriptPulses = PulseSeconds(kPulses);
  auto backend = std::make_unique<platform::qt::QtUiBackend>(nullptr);
  platform::qt::QtUiBackend& qtBackend = *backend;
  platform::SetUi(std::move(backend));
  const double qtPulses = PulseSeconds(kPulses);
  std::printf("1,000,000 pulses: automation %.3f s, Qt offscreen %.3f s (%.2fx), %ld real repaints\n",
              scriptPulses, qtPulses, qtPulses / scriptPulses, qtBackend.RealRepaints());
  platform::SetUi(nullptr);
  return 0;
}

// The progress window in real widgets: its look from template 131, the repaints coalesced
// to the throttle while the model stays exact, and the throttle's own timing.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include <QApplication>
#include <QProgressBar>
#include <QTest>

#include "platform/Faults.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RepaintThrottle.h"
#include "platform/ui/Window.h"
#include "runstate/ProgressWindow.h"
#include "tests/qt/QtFixture.h"

namespace velmora::qttest {
namespace {

using namespace std::chrono_literals;

TEST(QtRepaintThrottle, LetsOneRequestThroughPerInterval) {
  platform::qt::RepaintThrottle throttle(10ms);
  const auto start = platform::qt::RepaintThrottle::Clock::time_point{} + 1s;
  EXPECT_TRUE(throttle.DueAt(start));
  EXPECT_FALSE(throttle.DueAt(start));
  EXPECT_FALSE(throttle.DueAt(start + 9ms));
  EXPECT_TRUE(throttle.DueAt(start + 10ms));
  EXPECT_FALSE(throttle.DueAt(start + 19ms));
  // A late request starts the next interval from its own time.
  EXPECT_TRUE(throttle.DueAt(start + 50ms));
  EXPECT_FALSE(throttle.DueAt(start + 59ms));
  throttle.Reset();
  EXPECT_TRUE(throttle.DueAt(start + 51ms));
}

TEST(QtRepaintThrottle, ReadsTheClockOnEverySixteenthRequestOnly) {
  // An interval of zero makes every clock read a due repaint.
  platform::qt::RepaintThrottle throttle(0ms);
  int due = 0;
  for (int i = 0; i < 160; ++i) due += throttle.Due() ? 1 : 0;
  EXPECT_EQ(10, due);
  throttle.Reset();
  EXPECT_TRUE(throttle.Due());
  EXPECT_FALSE(throttle.Due());
}

class QtProgressWindow : public QtFixture {};

// What the user saw of the progress window at one moment, against the model.
struct Seen {
  QString caption;
  int bar = 0;
  QString modelCaption;
  int modelBar = 0;
};

// Records the progress window's widgets whenever its caption changes, as the user sees it.
class WatchedBackend : public platform::qt::QtUiBackend {
 public:
  WatchedBackend() : QtUiBackend(nullptr) {}
  void WindowShown(platform::CDialog& dialog, bool show) override {
    QtUiBackend::WindowShown(dialog, show);
    if (dialog.Template().id == kProgressTemplateId) progress = show ? &dialog : nullptr;
  }
  void WindowDestroyed(platform::CDialog& dialog) override {
    if (&dialog == progress) progress = nullptr;
    QtUiBackend::WindowDestroyed(dialog);
  }
  void CaptionChanged(platform::CDialog& dialog) override {
    QtUiBackend::CaptionChanged(dialog);
    if (&dialog == progress) captions.push_back(Look());
  }
  Seen Look() const {
    platform::qt::DialogWindow* window = WindowOf(*progress);
    const auto* bar = qobject_cast<QProgressBar*>(window->ControlWidget(kProgressMainBarId));
    return Seen{window->windowTitle(), bar->value(), platform::qt::ToQString(progress->GetWindowText()),
                progress->Control(kProgressMainBarId)->pos};
  }
  platform::CDialog* progress = nullptr;
  std::vector<Seen> captions;
};

class QtProgressRun : public QtFixture {
 protected:
  std::unique_ptr<platform::qt::QtUiBackend> MakeBackend() override {
    return std::make_unique<WatchedBackend>();
  }
  WatchedBackend& Watched() { return static_cast<WatchedBackend&>(Backend()); }
};

int PercentOf(const QString& caption) {
  const QString digits = caption.section(QLatin1Char(' '), 1).chopped(1);
  return digits.toInt();
}

TEST_F(QtProgressRun, BarAndCaptionShowTheModelAtEveryCaptionAndBoxAndEndAtOneHundred) {
  // A few balance rows with the general ledger on: the aggregator ends near 8400.
  for (const bool failing : {false, true}) {
    Watched().captions.clear();
    std::vector<Seen> atBoxes;
    onBox = [&](QMessageBox&) {
      if (Watched().progress) atBoxes.push_back(Watched().Look());
    };
    if (failing) platform::faults::Set("FileWrite");
    AnswerBoxes({QMessageBox::Ok});
    EXPECT_EQ(failing ? 2 : 0, RunProgram(failing ? "b.xml" : "a.xml"));
    platform::faults::Clear();
    const std::vector<Seen>& seen = Watched().captions;
    ASSERT_FALSE(seen.empty());
    for (const Seen& look : seen) {
      EXPECT_EQ(look.modelCaption.toStdString(), look.caption.toStdString());
      EXPECT_EQ(look.modelBar, look.bar) << look.caption.toStdString();
      EXPECT_LE(PercentOf(look.caption), 100) << look.caption.toStdString();
      EXPECT_LE(look.bar, 10000);
    }
    if (failing) {
      // The failure box stands over the progress window, which shows where the run stopped.
      ASSERT_EQ(1u, atBoxes.size());
      EXPECT_EQ(atBoxes[0].modelBar, atBoxes[0].bar);
      EXPECT_EQ(atBoxes[0].modelCaption.toStdString(), atBoxes[0].caption.toStdString());
    } else {
      EXPECT_EQ("集計中 100％", seen.back().caption.toStdString());
      EXPECT_EQ(10000, seen.back().bar);
    }
  }
}

TEST_F(QtProgressWindow, ShowsTheModelAndRepaintsAtMostSixtyTimesASecond) {
  ProgressWindow progress;
  ASSERT_TRUE(progress.Create());
  progress.InitMainBar();
  progress.ShowWindow(platform::SW_SHOW);
  platform::qt::DialogWindow* window = Backend().WindowOf(progress);
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));

  const auto start = std::chrono::steady_clock::now();
  const long before = Backend().RealRepaints();
  for (int i = 0; i < 200000; ++i) progress.Pulse();
  progress.StepRange(1, 4321);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long repaints = Backend().RealRepaints() - before;
  EXPECT_GE(repaints, 1);
  EXPECT_LE(repaints, static_cast<long>(seconds * 60.0) + 2) << seconds << " s";

  // Once the interval has passed, the window shows the exact model within sixteen requests.
  QTest::qWait(20);
  for (int i = 0; i < 16; ++i) platform::UpdateWindow(progress.GetSafeHwnd());
  auto* mainBar = qobject_cast<QProgressBar*>(window->ControlWidget(kProgressMainBarId));
  ASSERT_NE(nullptr, mainBar);
  EXPECT_EQ(progress.MainPos(), mainBar->value());
  EXPECT_EQ(4321, mainBar->value());
  EXPECT_EQ(10000, mainBar->maximum());
  EXPECT_EQ(QString::fromUtf8("集計中 43％"), window->windowTitle());
  progress.DestroyWindow();
  EXPECT_EQ(nullptr, Backend().WindowOf(progress));
}

TEST_F(QtProgressWindow, ReparentingFollowsProgramWindowsAndStaysTopLevelUnderAHost) {
  ProgressWindow owner;
  ASSERT_TRUE(owner.Create());
  owner.ShowWindow(platform::SW_SHOW);
  ProgressWindow progress;
  ASSERT_TRUE(progress.Create());
  progress.ShowWindow(platform::SW_SHOW);
  platform::qt::DialogWindow* window = Backend().WindowOf(progress);
  ASSERT_NE(nullptr, window);

  platform::SetParent(progress.GetSafeHwnd(), owner.GetSafeHwnd());
  EXPECT_EQ(Backend().WindowOf(owner), window->parentWidget());
  EXPECT_TRUE(window->isWindow());
  EXPECT_TRUE(window->isVisible());

  // With no host window listening behind the handle nothing changes.
  EXPECT_EQ(0, platform::SetParent(progress.GetSafeHwnd(), 987654));
  EXPECT_EQ(Backend().WindowOf(owner), window->parentWidget());

  // A host window has no widget here: the window stays a visible top-level window.
  std::filesystem::create_directories(host_->home() / "windows");
  const int listener = ::socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = (host_->home() / "windows" / "987654").string();
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  ASSERT_EQ(0, ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address));
  EXPECT_EQ(owner.GetSafeHwnd(), platform::SetParent(progress.GetSafeHwnd(), 987654));
  ::close(listener);
  EXPECT_EQ(nullptr, window->parentWidget());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  progress.DestroyWindow();
  owner.DestroyWindow();
}

}  // namespace
}  // namespace velmora::qttest

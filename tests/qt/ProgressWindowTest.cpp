// The progress window in real widgets: its look from template 131, the repaints coalesced
// to the throttle while the model stays exact, and the throttle's own timing.
#include <chrono>

#include <QApplication>
#include <QProgressBar>
#include <QTest>

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

  // A host window has no widget here: the window stays a visible top-level window.
  platform::SetParent(progress.GetSafeHwnd(), 987654);
  EXPECT_EQ(nullptr, window->parentWidget());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  progress.DestroyWindow();
  owner.DestroyWindow();
}

}  // namespace
}  // namespace velmora::qttest

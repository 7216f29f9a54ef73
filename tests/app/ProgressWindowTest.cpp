// The progress window: its template, the caption on whole per cents and the two bars.
#include <gtest/gtest.h>

#include <memory>

#include "app/ProgressWindow.h"
#include "platform/Cp932.h"
#include "platform/ui/UiBackend.h"

namespace {

std::string Cp932(const char* utf8) {
  const platform::cp932::Conversion c = platform::cp932::FromUtf8(utf8);
  EXPECT_TRUE(c.ok) << c.error;
  return c.text;
}

// Counts what the window reports, to see the caption is not set per position.
class CountingBackend : public platform::UiBackend {
public:
  void RunModal(platform::CDialog&) override {}
  int MessageBox(platform::HWND, const std::string&, const std::string&, unsigned) override { return 1; }
  bool SaveFileDialog(const platform::FileDialogRequest&, std::string&) override { return false; }
  void CaptionChanged(platform::CDialog&) override { ++captions; }
  void Repaint(platform::CDialog&) override { ++repaints; }
  int captions = 0;
  int repaints = 0;
};

class ProgressWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto backend = std::make_unique<CountingBackend>();
    counts = backend.get();
    platform::SetUi(std::move(backend));
    window.Create();
    window.InitMainBar();
  }
  void TearDown() override { platform::SetUi(nullptr); }

  CountingBackend* counts = nullptr;
  ProgressWindow window;
};

}  // namespace

TEST(ProgressTemplate, MatchesTheWindowLayout) {
  const platform::DialogTemplate& t = ProgressWindow::Template131();
  EXPECT_EQ(131, t.id);
  EXPECT_EQ(Cp932("集計中"), t.caption);
  EXPECT_EQ(221, t.width);
  EXPECT_EQ(45, t.height);
  EXPECT_EQ(Cp932("ＭＳ Ｐゴシック"), t.fontName);
  EXPECT_EQ(9, t.fontPoints);
  EXPECT_EQ(0u, t.style & (platform::DialogSysMenu | platform::DialogVisible));
  EXPECT_NE(0u, t.style & platform::DialogSystemModal);
  ASSERT_EQ(2u, t.controls.size());
  const platform::ControlTemplate& main = t.controls[0];
  EXPECT_EQ(1016, main.id);
  EXPECT_EQ(platform::ControlKind::ProgressBar, main.kind);
  EXPECT_EQ((std::array{5, 6, 211, 22}), (std::array{main.x, main.y, main.width, main.height}));
  EXPECT_NE(0u, main.style & platform::StyleSmooth);
  const platform::ControlTemplate& activity = t.controls[1];
  EXPECT_EQ(1017, activity.id);
  EXPECT_EQ((std::array{5, 29, 211, 10}), (std::array{activity.x, activity.y, activity.width, activity.height}));
  EXPECT_EQ(0u, activity.style & platform::StyleSmooth);
}

TEST_F(ProgressWindowTest, IsCreatedHidden) {
  EXPECT_FALSE(window.IsVisible());
  EXPECT_EQ(0, window.MainPos());
}

TEST_F(ProgressWindowTest, FirstPositionSetsZeroPerCent) {
  window.StepRange(0, 0);
  EXPECT_EQ(Cp932("集計中 0％"), window.GetWindowText());
  EXPECT_EQ(1, window.MainPos());
  EXPECT_EQ(5, window.ActivityPos());
}

TEST_F(ProgressWindowTest, CaptionChangesOnWholePerCentsOnly) {
  const int before = counts->captions;
  window.StepRange(1, 999);
  EXPECT_EQ(9, counts->captions - before);
  EXPECT_EQ(Cp932("集計中 9％"), window.GetWindowText());
  EXPECT_EQ(999, window.MainPos());
  // Each position repaints once itself and six times in its pulse.
  EXPECT_LE(999 * 7, counts->repaints);
}

TEST_F(ProgressWindowTest, LastHundredPositionsEndFullAt100PerCent) {
  window.StepRange(0, 9899);
  window.StepRange(9900, 10000);
  EXPECT_EQ(Cp932("集計中 100％"), window.GetWindowText());
  EXPECT_EQ(10000, window.MainPos());
  window.StepRange(10001, 10100);
  EXPECT_EQ(10000, window.MainPos());
  EXPECT_EQ(Cp932("集計中 101％"), window.GetWindowText());
}

TEST_F(ProgressWindowTest, EmptyRangeChangesNothing) {
  window.StepRange(5, 4);
  EXPECT_EQ(0, window.MainPos());
  EXPECT_EQ(0, window.ActivityPos());
  EXPECT_EQ(Cp932("集計中"), window.GetWindowText());
}

TEST_F(ProgressWindowTest, PulseLeavesTheMainBarAndCaption) {
  window.StepRange(0, 41);
  const std::string caption = window.GetWindowText();
  window.Pulse();
  EXPECT_EQ(42, window.MainPos());
  EXPECT_EQ(caption, window.GetWindowText());
  EXPECT_EQ(5, window.ActivityPos());
}

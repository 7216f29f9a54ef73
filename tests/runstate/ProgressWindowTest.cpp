// The progress window: its template, the caption on whole per cents, the two bars and the
// z-order and repaint calls of every step. Expected texts come from glibc's iconv.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ui/UiBackend.h"
#include "runstate/ProgressWindow.h"
#include "tests/support/Cp932Text.h"

using velmora::test::Cp932;

namespace {

// Counts what the window reports, and keeps the order of the window calls while asked to.
class CountingBackend : public platform::UiBackend {
 public:
  void RunModal(platform::CDialog&) override {}
  int MessageBox(platform::HWND, const std::string&, const std::string&, unsigned) override { return 1; }
  platform::SaveFileAnswer SaveFileDialog(const platform::FileDialogRequest&, std::string&) override {
    return platform::SaveFileAnswer::Cancelled;
  }
  void CaptionChanged(platform::CDialog&) override {
    ++captions;
    Note('C');
  }
  void Repaint(platform::CDialog&) override {
    ++repaints;
    Note('P');
  }
  void ZOrder(platform::CDialog&, bool foreground) override {
    ++(foreground ? foregrounds : tops);
    Note(foreground ? 'F' : 'T');
  }
  int captions = 0;
  int repaints = 0;
  int tops = 0;
  int foregrounds = 0;
  bool recording = false;
  std::string calls;  // C caption, T top of the z-order, F foreground, P repaint

 private:
  void Note(char call) {
    if (recording) calls += call;
  }
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
  EXPECT_EQ((std::array{5, 29, 211, 10}),
            (std::array{activity.x, activity.y, activity.width, activity.height}));
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
}

TEST_F(ProgressWindowTest, EveryPositionPulsesAndRepaints) {
  counts->recording = true;
  window.StepRange(100, 101);
  // Position 100: caption 1%, six activity moves each raised, brought forward and repainted,
  // then the step's own repaint; position 101 the same without a caption.
  const std::string pulse = "TFPTFPTFPTFPTFPTFP";
  EXPECT_EQ("C" + pulse + "P" + pulse + "P", counts->calls);
  EXPECT_EQ(Cp932("集計中 1％"), window.GetWindowText());
  EXPECT_EQ(2, window.MainPos());
}

TEST_F(ProgressWindowTest, WholeScaleCallCounts) {
  window.StepRange(0, 10000);
  EXPECT_EQ(101, counts->captions);
  EXPECT_EQ(10001 * 7, counts->repaints);
  EXPECT_EQ(10001 * 6, counts->tops);
  EXPECT_EQ(10001 * 6, counts->foregrounds);
  EXPECT_EQ(10000, window.MainPos());
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
  const int repaints = counts->repaints;
  window.StepRange(5, 4);
  EXPECT_EQ(repaints, counts->repaints) << "no pulse";
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

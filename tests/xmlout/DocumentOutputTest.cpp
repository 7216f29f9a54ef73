// How the document reaches the disk: a failed write, flush or replacement keeps the earlier
// file, the temporary file's name and links, and the progress window while writing.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "XmlDocumentFixture.h"

TEST_F(XmlDocument, AFolderThatDoesNotExistFailsTheDocument) {
  EXPECT_EQ(0, writer.WriteDocument(folder.Windows("missing\\out.xml"), 3, profile));
  EXPECT_FALSE(platform::win::PathFileExistsA(folder.Windows("missing")));
}

TEST_F(XmlDocument, AFailedWriteLeavesTheEarlierFileUntouched) {
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("FileWrite#20");
  EXPECT_EQ(0, Write());
  platform::faults::Clear();
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, AFailedLastLineFailsTheDocument) {
  ASSERT_EQ(1, Write());
  const std::string complete = Output();
  std::size_t lineCount = 0;
  for (std::size_t at = complete.find("\r\n"); at != std::string::npos; at = complete.find("\r\n", at + 2)) {
    ++lineCount;
  }
  // The closing root tag is the last line.
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("FileWrite#" + std::to_string(lineCount));
  EXPECT_EQ(0, Write());
  EXPECT_TRUE(SameBytes("earlier", Output()));
  platform::faults::Set("FileWrite#" + std::to_string(lineCount + 1));
  EXPECT_EQ(1, Write());
  EXPECT_TRUE(SameBytes(complete, Output()));
}

TEST_F(XmlDocument, BytesThatNeverReachTheDiskFailTheDocument) {
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("FileFlush");
  EXPECT_EQ(0, Write());
  platform::faults::Clear();
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, AFailedReplacementKeepsTheEarlierFile) {
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  platform::faults::Set("MoveFileReplace");
  EXPECT_EQ(0, Write());
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, OutOfMemoryForTheSupportFileShowsItsBoxAndFailsTheDocument) {
  WriteBytes(folder.LinuxPath("SUPPORT.INF"), Cp932("[=製品名=]Foo\r\n"));
  WriteBytes(folder.LinuxPath("out.xml"), "earlier");
  std::vector<RecordedBox> boxes;
  platform::SetUi(std::make_unique<BoxRecorder>(boxes));
  inputs.messageOwner = 5;
  platform::faults::Set("SupportInfoAlloc");
  ASSERT_EQ(0, Write());
  platform::SetUi(nullptr);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(Cp932("ﾒﾓﾘが不足しています。"), boxes[0].text);
  EXPECT_EQ("Velmora1", boxes[0].caption);
  EXPECT_EQ(0u, boxes[0].type);
  EXPECT_TRUE(SameBytes("earlier", Output()));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, AnyNameTheFileSystemTakesFitsItsTemporaryFile) {
  const std::string longest = std::string(251, 'a') + ".xml";  // 255 bytes
  ASSERT_EQ(1, writer.WriteDocument(folder.Windows(longest), 3, profile));
  EXPECT_TRUE(ReadBytes(folder.LinuxPath(longest)).starts_with("<?xml"));
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(XmlDocument, LinksAtTheOutputOrBesideItAreNeverFollowed) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine makes no symbolic links (docs/testing.md)";
#endif
  WriteBytes(folder.LinuxPath("victim"), "victim");
  std::filesystem::create_symlink(folder.LinuxPath("victim"), folder.LinuxPath("out.xml.part"));
  std::filesystem::create_symlink(folder.LinuxPath("victim"), folder.LinuxPath("out.xml"));
  ASSERT_EQ(1, Write());
  EXPECT_EQ("victim", ReadBytes(folder.LinuxPath("victim")));
  EXPECT_FALSE(std::filesystem::is_symlink(folder.LinuxPath("out.xml")));
  EXPECT_TRUE(Output().starts_with("<?xml"));
}

namespace {

// Counts the repaints of the progress window: six per Pulse, seven per main-bar step.
class RepaintCounter : public platform::UiBackend {
 public:
  explicit RepaintCounter(long& repaints) : repaints_(repaints) {}
  void RunModal(platform::CDialog&) override {}
  int MessageBox(platform::HWND, const std::string&, const std::string&, unsigned) override {
    return platform::IDOK;
  }
  platform::SaveFileAnswer SaveFileDialog(const platform::FileDialogRequest&, std::string&) override {
    return platform::SaveFileAnswer::Cancelled;
  }
  void Repaint(platform::CDialog&) override { ++repaints_; }

 private:
  long& repaints_;
};

}  // namespace

TEST_F(XmlDocument, ProgressPulsesOncePerElementOfTheHeadAndStepsThreeRangesToTheEnd) {
  long repaints = 0;
  platform::SetUi(std::make_unique<RepaintCounter>(repaints));
  ProgressWindow window;
  ASSERT_TRUE(window.Create());
  window.InitMainBar();
  window.StepRange(1, 5000);
  repaints = 0;
  inputs.progress = &window;
  inputs.progressBase = 5000;
  ASSERT_EQ(1, Write());
  const long pulses = 1 + 6 + 1 + 4 + 1 + 1;
  const long steps = 1001 + 1001 + 3001;
  EXPECT_EQ(pulses * 6 + steps * 7, repaints);
  EXPECT_EQ(Cp932("集計中 100％"), window.GetWindowText());
  EXPECT_EQ(10000, window.MainPos());
  window.DestroyWindow();
  platform::SetUi(nullptr);
}

// What the file services promise about files that are not theirs: only a regular file is
// read, a temporary file never takes what is already at its name, and a file is closed only
// after the block being written is known to be in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Faults.h"
#include "platform/Ini.h"
#include "platform/NativeFile.h"
#include "platform/WinFs.h"
#include "tests/platform/TempDrives.h"
#ifndef _WIN32
#include "tests/support/FifoGuard.h"
#endif

namespace win = platform::win;
namespace faults = platform::faults;

namespace {

class FileSafetyTest : public platform::testing::TempDrives {
 protected:
  void SetUp() override {
    TempDrives::SetUp();
    Make("c");
    // The system's devices under D: ("D:\null" is /dev/null); Windows has NUL in every folder.
    UseMap("C: @/c fixed\nD: /dev fixed\n");
  }
  void TearDown() override {
    faults::Clear();
    TempDrives::TearDown();
  }
};

// Each read of the platform, told by whether it refused the file (by Windows-form and by
// native path).
struct Reader {
  const char* name;
  std::function<bool(const std::string& windowsPath, const std::string& nativePath)> refuses;
};

const Reader kReaders[] = {
    {"ReadWholeFile", [](const std::string& path, const std::string&) { return !win::ReadWholeFile(path); }},
    {"File::OpenRead",
     [](const std::string& path, const std::string&) {
       win::File file;
       return !file.OpenRead(path) && !file.IsOpen();
     }},
    {"ReadNativeFile",
     [](const std::string&, const std::string& native) {
       std::string reason;
       return !platform::ReadNativeFile(native, reason) && reason == "not a regular file";
     }},
};

TEST_F(FileSafetyTest, ADeviceIsNeverRead) {
#ifdef _WIN32
  const std::string windowsPath = "C:\\NUL";
  const std::string nativePath = "NUL";
#else
  const std::string windowsPath = "D:\\null";
  const std::string nativePath = "/dev/null";
#endif
  for (const Reader& reader : kReaders) {
    EXPECT_TRUE(reader.refuses(windowsPath, nativePath)) << reader.name << " read " << nativePath;
  }
}

#ifndef _WIN32
TEST_F(FileSafetyTest, AFifoIsNeverWaitedOn) {
  const std::string fifo = root_ + "/c/input.ini";
  ASSERT_TRUE(velmora::test::MakeFifo(fifo));
  std::vector<Reader> readers(std::begin(kReaders), std::end(kReaders));
  // The profile read gives its default, as for a file that cannot be read.
  readers.push_back({"GetPrivateProfileStringA", [](const std::string& path, const std::string&) {
                       return win::GetPrivateProfileStringA("a", "b", "default", 64, path) == "default";
                     }});
  for (const Reader& reader : readers) {
    bool refused = false;
    EXPECT_TRUE(velmora::test::ReturnsWithoutWaitingOn(
        fifo, [&] { return reader.refuses("C:\\input.ini", fifo); }, refused))
        << reader.name << " waited for a writer";
    EXPECT_TRUE(refused) << reader.name << " read the FIFO";
  }
}
#endif

// With every name drawn the same (the "TemporaryName" fault point), what is at that name is
// never opened: not a file of someone else's, not a link to a file or to where one could be
// made. The creation fails once it has tried enough names.
TEST_F(FileSafetyTest, ATemporaryFileNeverTakesWhatIsAtItsName) {
  const std::string taken = "c/~vmaaaaaa.tmp";
  WriteFile(taken, "someone else's");
  faults::Set("TemporaryName");
  win::File file;
  EXPECT_FALSE(file.CreateTemporary("C:\\a.xml"));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ("someone else's", ReadFile(taken));
#ifndef _WIN32
  // Wine makes no symbolic links (docs/testing.md).
  for (const bool targetExists : {true, false}) {
    std::filesystem::remove(root_ + "/" + taken);
    std::filesystem::remove(root_ + "/target");
    if (targetExists) WriteFile("target", "kept");
    std::filesystem::create_symlink(root_ + "/target", root_ + "/" + taken);
    EXPECT_FALSE(file.CreateTemporary("C:\\a.xml"));
    EXPECT_EQ(targetExists, OnDisk("target"));
    EXPECT_EQ(targetExists ? "kept" : "", ReadFile("target"));
  }
#endif
  faults::Clear();
  ASSERT_TRUE(file.CreateTemporary("C:\\a.xml"));
  EXPECT_NE("C:\\~vmaaaaaa.tmp", file.TemporaryPath());
}

// A block whose write fails late, after the file has been told to close (the "BlockWrite"
// fault point), fails the close: the wait for the blocks covers the one being written, so
// a document with a hole is never renamed over the earlier one.
TEST_F(FileSafetyTest, TheCloseWaitsForTheBlockBeingWritten) {
  faults::Set("BlockWrite");
  win::File file;
  ASSERT_TRUE(file.CreateTemporary("C:\\doc.xml"));
  const std::string block(1 << 20, 'x');
  EXPECT_TRUE(file.Write(block.data(), block.size())) << "the block fails only after it was handed over";
  EXPECT_TRUE(file.Write("</REPORT>", 9));
  EXPECT_FALSE(file.Close());
}

}  // namespace

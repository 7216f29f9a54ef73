// Files and paths in Windows form ("C:\Out\a.xml", "\\server\share\a.xml", 0x5C separators,
// code page 932 bytes), served from the system's own paths through the drive map.
// Names keep the meaning of the Windows calls they stand for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/BlockWriter.h"

namespace platform::win {

// _access: 0 when the path exists (mode 0) or is readable and writable (mode 6), else -1.
int _access(const std::string& path, int mode);
bool PathFileExistsA(const std::string& path);
bool PathIsDirectoryA(const std::string& path);
// The drive type of a root such as "C:\" (platform::DRIVE_...).
unsigned GetDriveTypeA(const std::string& root);
bool CreateDirectoryA(const std::string& path);
bool RemoveDirectoryA(const std::string& path);
bool DeleteFileA(const std::string& path);
// Replaces target by source in one step (the rename of a finished temporary file).
bool MoveFileReplace(const std::string& source, const std::string& target);

// _splitpath: drive ("C:"), directory (with its trailing separator), file name, extension.
struct SplitPath {
  std::string drive;
  std::string dir;
  std::string fname;
  std::string ext;
};
SplitPath _splitpath(const std::string& path);

// PathSkipRootA: the offset just after the root ("C:\", "\\server\share\"); none without a root.
std::optional<std::size_t> PathSkipRootA(const std::string& path);
// PathStripToRootA: cuts the path to its root; false when it has none.
bool PathStripToRootA(std::string& path);
// True when the last byte is a separator of its own, not the second byte 0x5C of 表 or ソ.
bool EndsWithSeparator(std::string_view path);

// GetTempPathA: the temporary folder, ending in a separator.
std::string GetTempPathA();
std::string _getcwd();
bool _chdir(const std::string& path);
// The program file's own path in Windows form (GetModuleFileName).
std::string GetModuleFileNameA();

enum class FileStatus { Absent, Directory, File };
FileStatus GetFileStatus(const std::string& path);

// A whole file read at once; none on any error (also at the "FileRead" fault point) and for
// anything but a regular file, whose reading could wait for ever (a FIFO) or never end.
std::optional<std::string> ReadWholeFile(const std::string& path);

// A file open for writing (CFile with create, truncate, exclusive write, binary). Writes are
// gathered in a buffer and reach the file in large blocks, written on a thread of the file's
// own (BlockWriter) from the first full block on: a document of millions of lines costs a
// few hundred system calls, not millions, and its writing overlaps its composing. An error
// of a written block is reported by a later Write that hands over a block, or by Close.
class File {
 public:
  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  // Create or truncate, write only; fails while another File has the same file open for
  // writing, on a CD-ROM drive, and at the "FileCreate" fault point.
  bool Create(const std::string& path);
  // Creates a new file in the folder of targetPath under a short name of its own, never
  // opening an existing file or following a link there, so that concurrent writers of one
  // target never share or remove each other's files and any target name that fits the file
  // system fits. TemporaryPath() names it, also after Close; the fault points see targetPath as
  // the detail.
  bool CreateTemporary(const std::string& targetPath);
  const std::string& TemporaryPath() const { return temporaryPath_; }
  // Opens a regular file for reading; a FIFO, a device or a folder is refused.
  bool OpenRead(const std::string& path);
  // Writes all bytes; false on error or at the "FileWrite" fault point (nothing written).
  bool Write(const void* data, std::size_t size);
  // Reads at most size bytes; returns the count read, or -1 on error (also at the
  // "FileRead" fault point).
  long Read(void* data, std::size_t size);
  // Writes what is buffered, makes it durable and closes; false when any of it failed
  // (also at the "FileFlush" fault point). Closing a closed file succeeds.
  bool Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  bool HandOff();
  bool Flush();

  int fd_ = -1;
  std::unique_ptr<BlockWriter> writer_;  // from the first full block on
  bool writing_ = false;
  std::string buffer_;  // bytes written but not yet in the file
  std::string path_;    // Windows path of the open file (of its target for a temporary
                        // file), the detail of the fault points
  std::string temporaryPath_;
};

// Why the last file creation, write or replacement that failed did fail, in words (UTF-8):
// the system's reason, or what the drive map lacks for the path. Empty when none failed
// since ClearFileFailure. One record for the process: a run asks right after its write.
std::string LastFileFailure();
void ClearFileFailure();

// The system's own path (NativePath.h) of a Windows-form path through the drive map; none
// when unmapped.
std::optional<std::string> ToNativePath(const std::string& windowsPath);
// Windows form of a native path through the inverse drive map; none when no drive covers it.
std::optional<std::string> ToWindowsPath(const std::string& nativePath);

}  // namespace platform::win

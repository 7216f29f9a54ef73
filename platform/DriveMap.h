// The drive map: which Linux folder serves each Windows drive letter and network share, and
// the drive type each letter reports. It is read from the file named by VELMORA_DRIVES, and
// read again whenever that variable's value or the file changes. Without the variable, on
// Linux Z: is "/" on a fixed drive; on Windows the map is the identity: every real drive and
// share serves itself. On Linux a map file that gives the program's own folder no drive and
// names no Z: gets that Z: as well, so that the program finds the files beside it. The file
// format is described in docs/drives.md.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win {

struct DriveEntry {
  bool present = false;  // listed in the map; an unlisted letter has no root directory
  std::string folder;    // the system's folder, no trailing separator except a root's; empty: none
  unsigned type = 1;     // platform::DRIVE_...
};

struct ShareEntry {
  std::string server;  // code page 932, as written after "\\"
  std::string share;
  std::string folder;  // the system's folder
};

class DriveMap {
 public:
  // Parses map text (UTF-8). Lines that cannot be read are skipped and described in errors.
  static DriveMap Parse(std::string_view text, std::vector<std::string>* errors = nullptr);
  // The map without a file: Z: is "/" on a fixed drive on Linux, the identity on Windows.
  static DriveMap Default();
  // The map of a map file as the process uses it; a file that cannot be read maps nothing.
  static DriveMap FromFile(const std::string& path);
  // The map in force for the current value of VELMORA_DRIVES and the file it names.
  static std::shared_ptr<const DriveMap> Current();
  // Why the program's own folder has no drive under the map in force, in words (UTF-8) with
  // what to change; empty when it has one.
  static std::string ProgramFolderProblem();

  // The entry of a letter (either case); an entry that is not present for anything else.
  const DriveEntry& Drive(char letter) const;
  // The folder of \\server\share, matched without regard to case; none when not mapped.
  const ShareEntry* Share(std::string_view server, std::string_view share) const;
  const std::vector<ShareEntry>& Shares() const { return shares_; }
  // True when every drive and share is served by itself (Windows without a map file).
  bool Identity() const { return identity_; }
  // True when a drive or share of the map serves the system folder (compared by name).
  bool Serves(const std::string& folder) const;
  // The map file's path and why it could not be read; both empty for a map read in full.
  const std::string& File() const { return file_; }
  const std::string& ReadError() const { return readError_; }

 private:
  bool identity_ = false;
  std::array<DriveEntry, 26> drives_{};
  std::vector<ShareEntry> shares_;
  std::string file_;
  std::string readError_;
};

}  // namespace platform::win

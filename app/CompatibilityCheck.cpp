// The program level check: one INI value decides whether this component fits the
// installed Zentor application.
#include "app/CompatibilityCheck.h"

#include <cstdlib>

#include "app/FailureLines.h"
#include "platform/Cp932.h"
#include "platform/Ini.h"
#include "platform/WinFs.h"
#include "runtime/Connect.h"

namespace {

constexpr std::size_t kPathCapacity = 517;
constexpr std::size_t kValueCapacity = 16;
constexpr int kExpectedLevel = 3;

struct LevelMessage {
  int code;
  const std::string& (*text)();
};

const std::string& InstallationMessage() {
  return SJ("動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認してください。");
}
const std::string& OlderZentorMessage() {
  return SJ(
      "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
      "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。");
}
const std::string& OlderComponentMessage() {
  return SJ(
      "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
      "連動コンポーネントの最新版を入手してインストールしてからご利用ください。");
}

const LevelMessage kMessages[] = {
    {-1, InstallationMessage},
    {1, OlderZentorMessage},
    {2, OlderComponentMessage},
};

}  // namespace

std::string ProgramLevelFilePath(const std::string& folder) {
  std::string path = folder;
  if (!path.empty()) {
    const std::size_t last = path.size() - 1;
    const bool endsInSeparator = path[last] == '\\' && !platform::cp932::IsMbsTrail(path, last);
    if (!endsInSeparator && (path[last] == '\\' || path.size() < kPathCapacity - 1)) path += '\\';
  }
  path += "ZentorDef.ini";
  return platform::cp932::BoundedString(path, kPathCapacity - 1);
}

int ProgramLevelCode(const std::string& folder) {
  const std::string path = ProgramLevelFilePath(folder);
  // A definition file that is there but cannot be read (a FIFO, a device, no permission) is
  // no installation's: the default level must not pass for the installed one.
  if (!platform::win::PathFileExistsA(path) || !platform::win::ReadWholeFile(path)) return -1;
  const std::string value =
      platform::win::GetPrivateProfileStringA("ProgramLevel", "RX52", "3", kValueCapacity, path);
  if (value.empty()) return -1;
  // atoi's reading, but without its undefined overflow on fifteen digits.
  const long level = std::strtol(value.c_str(), nullptr, 10);
  if (level == kExpectedLevel) return 0;
  return level < kExpectedLevel ? 1 : 2;
}

namespace {

// The working folder, and whether it fits the path buffer of _getcwd. One that does not is
// no installation: read as no folder, the definition file's bare name would still find the
// file in that very folder.
struct WorkingFolder {
  std::string path;  // empty when it does not fit
  bool fits = false;
};

WorkingFolder CurrentFolder() {
  const std::string folder = platform::win::_getcwd();
  const bool fits = folder.size() < platform::kPathCapacity;
  return {fits ? folder : std::string(), fits};
}

int LevelCodeOf(const WorkingFolder& folder) { return folder.fits ? ProgramLevelCode(folder.path) : -1; }

}  // namespace

int CheckProgramLevel(bool showMessages, platform::HWND owner) {
  const int code = LevelCodeOf(CurrentFolder());
  for (const LevelMessage& entry : kMessages) {
    if (entry.code != code) continue;
    if (showMessages) {
      ClAccConnect::Inst().DispMsg(owner, entry.text(), SJ("決算書"),
                                   platform::MB_ICONEXCLAMATION | platform::MB_OK);
    }
    return 0;
  }
  return 1;
}

std::string ProgramLevelReport(const std::string& program) {
  const WorkingFolder folder = CurrentFolder();
  const int code = LevelCodeOf(folder);
  if (code == 0) return {};
  const std::string path = ProgramLevelFilePath(folder.path);
  return ProgramLevelLine(program, code, path, folder.fits && platform::win::PathFileExistsA(path));
}

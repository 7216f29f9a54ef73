// The failure lines: each names the file or folder concerned and the step that mends it.
#include "app/FailureLines.h"

#include "platform/Cp932.h"

namespace {

constexpr long kStoreError = 9001;
constexpr long kNoHome = 9010;
constexpr long kNoStore = 9011;
constexpr long kOpenFailed = 9012;
constexpr long kWrongSchema = 9013;
constexpr long kDamagedStore = 9014;

// A code page 932 path in UTF-8; a byte sequence without a UTF-8 form is shown as it came.
std::string Shown(const std::string& cp932Path) {
  platform::cp932::Conversion utf8 = platform::cp932::ToUtf8(cp932Path);
  return utf8.ok ? utf8.text : cp932Path;
}

std::string AttachCause(long status, const std::string& home) {
  const std::string store = home + "/orbeck.db";
  const std::string load = "`orbeck-admin load COMPANY.json --home " + home + "`";
  switch (status) {
    case kNoHome:
      return "the host folder " + home + " does not exist: create it with " + load +
             ", or set ORBECK_HOME to the folder that holds orbeck.db";
    case kNoStore:
      return "the host folder " + home + " holds no store (orbeck.db): load one with " + load;
    case kOpenFailed:
      return "the store " + store + " cannot be opened or read: reload it with " + load;
    case kWrongSchema:
      return "the store " + store +
             " is of another schema or was written by a newer loader: reload it with this version's " + load;
    case kDamagedStore:
      return "the store " + store +
             " differs from its seal (it was changed after it was loaded): reload it with " + load;
    case kStoreError:
      return "the store " + store + " could not be read: check it with `orbeck-admin check --home " + home +
             "` and reload it with " + load;
    default:
      return "the host runtime refused the store " + store + " (status " + std::to_string(status) +
             "): reload it with " + load;
  }
}

}  // namespace

std::string AttachFailureLine(const std::string& program, long status, const std::string& homeFolder) {
  const std::string cause = homeFolder.empty()
                                ? "no host folder can be named (neither ORBECK_HOME nor HOME is set): set "
                                  "ORBECK_HOME to the folder that holds orbeck.db"
                                : AttachCause(status, homeFolder);
  return program + ": the host installation could not be attached: " + cause + "; nothing was exported";
}

std::string ProgramFolderLine(const std::string& program, const std::string& problem) {
  return program + ": ZentorDef.ini and SUPPORT.INF beside the program cannot be reached: " + problem;
}

std::string ProgramLevelLine(const std::string& program, int code, const std::string& iniPath,
                             bool iniExists) {
  const std::string ini = Shown(iniPath);
  switch (code) {
    case -1:
      return program + ": the compatibility check cannot pass: " + ini +
             (iniExists ? " has an empty ProgramLevel RX52 value" : " does not exist") +
             "; put the ZentorDef.ini that comes with the program beside it";
    case 1:
      return program + ": " + ini +
             " says the installed Zentor application is older than this component: install its latest "
             "version";
    default:
      return program + ": " + ini +
             " says this component is older than the installed Zentor application: install the latest "
             "component";
  }
}

std::string WriteFailureLine(const std::string& program, const std::string& outputPath,
                             const std::string& reason) {
  return program + ": the document " + Shown(outputPath) + " could not be written" +
         (reason.empty() ? std::string() : ": " + reason) + "; choose another output file";
}

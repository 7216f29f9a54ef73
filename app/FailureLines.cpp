// The failure lines: each names the file or folder concerned and the step that mends it.
#include "app/FailureLines.h"

#include "platform/Cp932.h"

namespace {

// A code page 932 path in UTF-8; a byte sequence without a UTF-8 form is shown as it came.
std::string Shown(const std::string& cp932Path) {
  platform::cp932::Conversion utf8 = platform::cp932::ToUtf8(cp932Path);
  return utf8.ok ? utf8.text : cp932Path;
}

}  // namespace

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

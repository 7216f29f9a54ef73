// The entry point of the three executables. VELMORA_EDITION names the edition's profile;
// --version and --help are answered here, any other command line is the host's.
#include <cstdio>
#include <cstring>

#include "app/LinkApp.h"
#include "platform/script/ScriptRegistration.h"
#include "platform/ui/Startup.h"
#include "runstate/EditionProfile.h"

#ifdef VELMORA_HAVE_QT
#include "platform/qt/QtBackend.h"
#endif
#ifdef VELMORA_HAVE_WIN32UI
#include "platform/win32ui/Win32Backend.h"
#endif

#ifndef VELMORA_EDITION
#error "VELMORA_EDITION must name the edition profile of this executable"
#endif

namespace {

// The target application's product name in the file description.
constexpr const char* kTargetProductName = "Zentor 連動";

void PrintVersion(const EditionProfile& edition) {
  std::printf("%s %s\n%s from %s\n", edition.executableName, kProgramVersion, kTargetProductName,
              edition.programNameFallback);
}

void PrintHelp(const EditionProfile& edition) {
  std::printf(
      "Usage: %s [HOSTWINDOW,MESSAGE,FUNCTION,[OUTPUTPATH]]\n"
      "  or:  %s --version | --help\n"
      "\n"
      "Exports the financial statements of the accounting data selected in the host\n"
      "into one Shift_JIS XML document. The host passes its window handle, the message\n"
      "number of the completion notice, the function code and an optional output path;\n"
      "without all three commas no host window is named and no notice is posted.\n"
      "\n"
      "Environment: ORBECK_HOME (host installation), VELMORA_DRIVES (drive map),\n"
      "VELMORA_UI_SCRIPT and VELMORA_UI_TRANSCRIPT (automation without a display).\n"
      "\n"
      "Exit code: the run status, 0 completed, 1 cancelled, 2 failed. When no host\n"
      "installation can be attached nothing runs: exit code 2, the reason on standard error.\n",
      edition.executableName, edition.executableName);
}

}  // namespace

int main(int argc, char** argv) {
  const EditionProfile& edition = VELMORA_EDITION;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    PrintVersion(edition);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    PrintHelp(edition);
    return 0;
  }
  platform::script::RegisterScriptBackend();
#ifdef VELMORA_HAVE_QT
  platform::qt::RegisterGuiBackend();
#endif
#ifdef VELMORA_HAVE_WIN32UI
  platform::win32ui::RegisterGuiBackend();
#endif
  LinkApp app(edition);
  return platform::RunApplication(app, argc, argv);
}

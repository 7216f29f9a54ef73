// orbeck-host: stands in for the host application around one program run. It opens a host
// window, starts the program with the host's command line naming that window, prints every
// window call that arrives, and exits with the run status of the posted completion notice
// (3 when none came; 2 for its own usage or set-up errors).
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "HostWindowEndpoint.h"
#include "tools/common/ToolOptions.h"

namespace {

constexpr int kNoNotice = 3;
constexpr int kSetupError = 2;
constexpr long kFirstHostHandle = 1048576;

constexpr const char* kUsage =
    "Usage: orbeck-host run [--message N] [--function N] PROGRAM [OUTPUT-PATH]\n"
    "  or:  orbeck-host --help | --version\n";

int Usage() {
  std::cerr << kUsage;
  return kSetupError;
}

void PrintHelp() {
  std::cout << kUsage
            << "\n"
               "Stands in for the host application around one program run: opens a host\n"
               "window under $ORBECK_HOME/windows, starts PROGRAM with the host's command line\n"
               "naming that window, prints every window call that arrives and exits with the\n"
               "run status of the posted completion notice.\n"
               "\n"
               "Options:\n"
               "  --message N    the message number of the completion notice (default 32769)\n"
               "  --function N   the function code passed to the program (default 3)\n"
               "  --help         print this help and exit\n"
               "  --version      print the version and exit\n"
               "\n"
               "Exit code: the notice's run status (0 completed, 1 cancelled, 2 failed), 3 when\n"
               "no notice came, 2 for a usage or set-up error.\n";
}

bool ParseNumber(const std::string& text, long& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

struct Options {
  long message = 0x8001;
  long function = 3;
  std::string program;
  std::string outputPath;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  if (argc < 3 || std::string(argv[1]) != "run") return false;
  int i = 2;
  for (; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--message") {
      if (!ParseNumber(argv[i + 1], options.message)) return false;
    } else if (option == "--function") {
      if (!ParseNumber(argv[i + 1], options.function)) return false;
    } else {
      break;
    }
  }
  if (i >= argc || argc - i > 2) return false;
  options.program = argv[i];
  if (i + 1 < argc) options.outputPath = argv[i + 1];
  return true;
}

// "post MESSAGE WPARAM LPARAM" carrying the notice message: its LPARAM is the run status.
bool NoticeStatus(const std::string& call, long message, int& status) {
  long posted = 0;
  long wParam = 0;
  long lParam = 0;
  if (std::sscanf(call.c_str(), "post %ld %ld %ld", &posted, &wParam, &lParam) != 3 || posted != message) {
    return false;
  }
  status = static_cast<int>(lParam);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (tools::AnswerHelpOrVersion(std::vector<std::string>(argv + 1, argv + argc), "orbeck-host",
                                 VELMORA_VERSION, PrintHelp)) {
    return 0;
  }
  Options options;
  if (!ParseOptions(argc, argv, options)) return Usage();
  const char* home = std::getenv("ORBECK_HOME");
  if (!home || !*home) {
    std::cerr << "orbeck-host: ORBECK_HOME is not set\n";
    return kSetupError;
  }
  HostWindowEndpoint window;
  std::string error;
  if (!window.Open(std::string(home) + "/windows", kFirstHostHandle + ::getpid() % 1000000, error)) {
    std::cerr << "orbeck-host: " << error << "\n";
    return kSetupError;
  }

  // The third comma is always written: the program takes a command line without it as
  // naming no host window at all.
  std::string commandLine = std::to_string(window.Handle()) + "," + std::to_string(options.message) + "," +
                            std::to_string(options.function) + "," + options.outputPath;
  std::cout.flush();
  const pid_t child = ::fork();
  if (child < 0) {
    std::perror("orbeck-host: fork");
    return kSetupError;
  }
  if (child == 0) {
    std::vector<char*> childArgv{options.program.data(), commandLine.data(), nullptr};
    ::execv(options.program.c_str(), childArgv.data());
    std::perror("orbeck-host: cannot start the program");
    ::_exit(127);
  }

  int status = kNoNotice;
  bool noticed = false;
  const auto take = [&](const std::string& call) {
    std::cout << call << "\n" << std::flush;
    int posted = 0;
    if (!noticed && NoticeStatus(call, options.message, posted)) {
      status = posted;
      noticed = true;
    }
  };
  int childStatus = 0;
  for (;;) {
    if (auto call = window.Receive(50)) {
      take(*call);
      continue;
    }
    if (::waitpid(child, &childStatus, WNOHANG) == child) break;
  }
  // Calls sent just before the program ended are still queued on the socket.
  while (auto call = window.Receive(0)) take(*call);
  if (WIFEXITED(childStatus) && WEXITSTATUS(childStatus) != 0) {
    std::cerr << "orbeck-host: the program exited with " << WEXITSTATUS(childStatus) << "\n";
  } else if (WIFSIGNALED(childStatus)) {
    std::cerr << "orbeck-host: the program was killed by signal " << WTERMSIG(childStatus) << "\n";
  }
  return status;
}

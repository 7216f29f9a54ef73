// Starting programs at once: the system's own process calls.
#include "tests/support/RunAtOnce.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velmora::test {

std::vector<int> RunAtOnce(const std::vector<Program>& programs) {
  std::vector<int> codes(programs.size(), -1);
#ifdef _WIN32
  std::vector<HANDLE> started(programs.size(), nullptr);
  for (std::size_t i = 0; i < programs.size(); ++i) {
    std::string commandLine;
    for (const std::string& word : programs[i].argv)
      commandLine += (commandLine.empty() ? "\"" : " \"") + word + "\"";
    // A child takes the environment as it is when it is created.
    for (const auto& [name, value] : programs[i].environment) ::_putenv_s(name.c_str(), value.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
      ::CloseHandle(process.hThread);
      started[i] = process.hProcess;
    }
    for (const auto& [name, value] : programs[i].environment) ::_putenv_s(name.c_str(), "");
  }
  for (std::size_t i = 0; i < programs.size(); ++i) {
    if (started[i] == nullptr) continue;
    DWORD code = 0;
    if (::WaitForSingleObject(started[i], INFINITE) == WAIT_OBJECT_0 &&
        ::GetExitCodeProcess(started[i], &code))
      codes[i] = static_cast<int>(code);
    ::CloseHandle(started[i]);
  }
#else
  std::vector<pid_t> started(programs.size(), -1);
  for (std::size_t i = 0; i < programs.size(); ++i) {
    std::vector<char*> argv;
    for (const std::string& word : programs[i].argv) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    started[i] = ::fork();
    if (started[i] == 0) {
      for (const auto& [name, value] : programs[i].environment) ::setenv(name.c_str(), value.c_str(), 1);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  for (std::size_t i = 0; i < programs.size(); ++i) {
    int status = 0;
    if (started[i] > 0 && ::waitpid(started[i], &status, 0) == started[i])
      codes[i] = (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }
#endif
  return codes;
}

}  // namespace velmora::test

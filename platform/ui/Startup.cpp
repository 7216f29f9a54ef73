// Start-up: the command line, the program path, the choice of the UI backend among those
// registered, the run and the final report of its status.
#include "platform/ui/Startup.h"

#include <cstdlib>
#include <iostream>
#include <optional>

#include "platform/Cp932.h"
#include "platform/NativeFile.h"
#include "platform/WinFs.h"

namespace platform {
namespace {

GuiBackendFactory& GuiFactory() {
  static GuiBackendFactory factory;
  return factory;
}

ScriptBackendFactory& ScriptFactory() {
  static ScriptBackendFactory factory;
  return factory;
}

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

// The program's name as its errors begin, as the run's own errors do.
std::string ProgramName(int argc, char** argv) {
  const std::string path = argc > 0 && argv[0] ? argv[0] : "";
  const std::string name = path.substr(path.find_last_of('/') + 1);
  return name.empty() ? "velmora" : name;
}

// The automation backend, or none after a message on standard error.
std::unique_ptr<UiBackend> ScriptedBackend(const std::string& program, const char* scriptPath) {
  if (!ScriptFactory()) {
    std::cerr << program << ": VELMORA_UI_SCRIPT is set, but this program has no automation backend\n";
    return nullptr;
  }
  std::string reason;
  std::optional<std::string> text = ReadNativeFile(scriptPath, reason);
  if (!text) {
    std::cerr << program << ": automation script " << scriptPath
              << " cannot be read (VELMORA_UI_SCRIPT): " << reason << "\n";
    return nullptr;
  }
  const char* transcript = NonEmptyEnv("VELMORA_UI_TRANSCRIPT");
  std::vector<std::string> errors;
  std::unique_ptr<UiBackend> backend =
      ScriptFactory()(scriptPath, *text, transcript ? transcript : "", errors);
  for (const std::string& error : errors) std::cerr << program << ": " << error << "\n";
  return backend;
}

}  // namespace

void SetGuiBackendFactory(GuiBackendFactory factory) { GuiFactory() = std::move(factory); }

void SetScriptBackendFactory(ScriptBackendFactory factory) { ScriptFactory() = std::move(factory); }

int RunApplication(CWinApp& app, int argc, char** argv) {
  const std::string program = ProgramName(argc, argv);
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  cp932::Conversion converted = cp932::FromUtf8(commandLine);
  if (!converted.ok) {
    std::cerr << program << ": the command line has no code page 932 form: " << converted.error << "\n";
    return 2;
  }
  app.m_lpCmdLine = std::move(converted.text);
  app.m_programPath = win::GetModuleFileNameA();

  std::unique_ptr<UiBackend> backend;
  if (const char* scriptPath = NonEmptyEnv("VELMORA_UI_SCRIPT")) {
    backend = ScriptedBackend(program, scriptPath);
    if (!backend) return 2;
  } else if (GuiFactory()) {
    backend = GuiFactory()(argc, argv);
  }
  if (!backend) {
    std::cerr << program << ": no display and no automation script (set VELMORA_UI_SCRIPT)\n";
    return 2;
  }
  SetUi(std::move(backend));

  const int status = app.Run();
  Ui().RunEnded(status);
  // The backend goes while the process is still whole: a GUI toolkit torn down among the
  // exit handlers, after its own statics, crashes the process at its very end.
  SetUi(nullptr);
  return status;
}

}  // namespace platform

// The in-process run fixture.
#include "tests/app/RunFixture.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "platform/ui/UiBackend.h"

namespace velmora::test {

namespace fs = std::filesystem;

RunFixture::RunFixture(const nlohmann::json& company) : host(company) {
  programFolder = host.cDrive() / "prog";
  fs::create_directories(programFolder);
  fs::create_directories(COut());
  const char* source = std::getenv("VELMORA_SOURCE_DIR");
  EXPECT_NE(nullptr, source) << "VELMORA_SOURCE_DIR is not set";
  if (source) {
    for (const char* name : {"ZentorDef.ini", "SUPPORT.INF"}) {
      fs::copy_file(fs::path(source) / "data" / name, programFolder / name,
                    fs::copy_options::overwrite_existing);
    }
  }
}

int RunFixture::Run(const std::string& commandLine, const std::string& script,
                    const EditionProfile& edition) {
  auto backend = std::make_unique<platform::script::ScriptBackend>(script);
  platform::script::ScriptBackend* recorder = backend.get();
  platform::SetUi(std::move(backend));
  LinkApp app(edition);
  app.m_lpCmdLine = commandLine;
  app.m_programPath =
      programPath.empty() ? std::string("C:\\prog\\") + edition.executableName + ".exe" : programPath;
  const int exitCode = app.Run();
  runStatus = app.runStatus;
  transcript = recorder->Transcript();
  return exitCode;
}

void RunFixture::WriteProgramLevel(const std::string& line) {
  std::ofstream ini(programFolder / "ZentorDef.ini", std::ios::binary | std::ios::trunc);
  ini << "[ProgramLevel]\r\n" << line << "\r\n";
}

void RunFixture::RemoveDefinitionFile() { fs::remove(programFolder / "ZentorDef.ini"); }

std::vector<nlohmann::json> RunFixture::Events(const std::string& kind) const {
  std::vector<nlohmann::json> events;
  for (const nlohmann::json& e : transcript) {
    if (e.value("event", "") == kind) events.push_back(e);
  }
  return events;
}

std::vector<std::string> RunFixture::HostCalls() const {
  std::vector<std::string> calls;
  for (const nlohmann::json& e : Events("host")) {
    std::string call = e.value("call", "");
    if (call == "enable") call += e.value("enable", false) ? " 1" : " 0";
    if (call == "post") {
      call += " " + std::to_string(e.value("message", 0u)) + " " + std::to_string(e.value("wParam", 0L)) +
              " " + std::to_string(e.value("lParam", 0L));
    }
    calls.push_back(call);
  }
  return calls;
}

std::vector<std::string> RunFixture::BoxTexts() const {
  std::vector<std::string> texts;
  for (const nlohmann::json& e : Events("messageBox")) texts.push_back(e.value("text", ""));
  return texts;
}

std::string ExecuteScript(const std::string& fileName) {
  return "set 1016 4\nset 1000 3\nset 1015 C:\\out\\" + fileName + "\nclick 1002\n";
}

}  // namespace velmora::test

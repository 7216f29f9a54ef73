// The automation backend as the start-up makes it: refused with the script's own errors, or
// when its transcript cannot be created.
#include "platform/script/ScriptRegistration.h"

#include "platform/script/ScriptBackend.h"
#include "platform/ui/Startup.h"

namespace platform::script {

void RegisterScriptBackend() { SetScriptBackendFactory(&MakeScriptBackend); }

std::unique_ptr<UiBackend> MakeScriptBackend(const std::string& scriptPath, const std::string& scriptText,
                                             const std::string& transcriptPath,
                                             std::vector<std::string>& errors) {
  auto backend = std::make_unique<ScriptBackend>(scriptText, transcriptPath);
  for (const std::string& error : backend->ScriptErrors()) errors.push_back(scriptPath + ": " + error);
  if (!errors.empty()) return nullptr;
  if (!backend->TranscriptWritable()) {
    errors.push_back("automation transcript " + transcriptPath +
                     " cannot be created (VELMORA_UI_TRANSCRIPT)");
    return nullptr;
  }
  return backend;
}

}  // namespace platform::script

// The automation backend's factory for the start-up (platform/ui/Startup.h), which an
// executable registers beside its GUI backend.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UiBackend.h"

namespace platform::script {

// Registers MakeScriptBackend with the start-up.
void RegisterScriptBackend();

// The backend playing scriptText, whose events go to transcriptPath (empty: none); none
// with the reasons when a line of the script is not understood or the transcript cannot be
// created.
std::unique_ptr<UiBackend> MakeScriptBackend(const std::string& scriptPath, const std::string& scriptText,
                                             const std::string& transcriptPath,
                                             std::vector<std::string>& errors);

}  // namespace platform::script

// Message boxes of the conditions dialog through the platform's MessageBoxA.
#include "dialog/ConditionsMessages.h"

#include "platform/Cp932.h"
#include "platform/ui/Window.h"

void ShowConditionsError(platform::HWND owner, const std::string& text) {
  platform::MessageBoxA(owner, text, SJ("決算書"), platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void ShowConditionsNotice(platform::HWND owner, const std::string& text) {
  platform::MessageBoxA(owner, text, SJ("決算書"), platform::MB_OK | platform::MB_ICONINFORMATION);
}

bool AskConditionsQuestion(platform::HWND owner, const std::string& text) {
  return platform::MessageBoxA(owner, text, SJ("決算書"), platform::MB_YESNO | platform::MB_ICONQUESTION) ==
         platform::IDYES;
}

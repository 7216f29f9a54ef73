// The message boxes of the conditions dialog: caption "決算書", owned by the dialog.
#pragma once

#include <string>

#include "platform/WinTypes.h"

// An error or refusal: exclamation icon, OK.
void ShowConditionsError(platform::HWND owner, const std::string& text);
// A notice: information icon, OK.
void ShowConditionsNotice(platform::HWND owner, const std::string& text);
// A question: question icon, Yes and No; true when answered Yes.
bool AskConditionsQuestion(platform::HWND owner, const std::string& text);

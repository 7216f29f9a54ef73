// One line of an automation script, parsed: the action, its control id and its value.
// Texts are held in code page 932, converted from the script's UTF-8.
#pragma once

#include <string>

#include "platform/ui/Dialog.h"

namespace platform::script {

struct ScriptAction {
  enum class Kind { Set, Check, Focus, Key, Click, Close, Answer, Save, Cancel } kind = Kind::Close;
  int line = 0;      // 1-based line of the script
  int id = 0;        // control id
  int value = 0;     // check: 0 or 1; answer: IDOK, IDYES or IDNO
  std::string text;  // set: the typed text; save: the path (code page 932)
  // save: a path with no code page 932 form (an emoji, a character outside JIS), which a
  // user can choose in the real dialog; text holds it in UTF-8.
  bool withoutCp932Form = false;
  KeyMessage key;
};

enum class LineParse { Action, Skip, Error };

// Parses one line (without its line feed) into action; Skip for a blank or comment line,
// Error with error describing the fault.
LineParse ParseScriptLine(const std::string& line, int lineNumber, ScriptAction& action, std::string& error);

// The action's name as written in the script ("set", "answer", ...).
const char* ActionName(ScriptAction::Kind kind);

}  // namespace platform::script

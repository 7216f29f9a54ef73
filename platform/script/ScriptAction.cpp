// The script line parser.
#include "platform/script/ScriptAction.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/Cp932.h"

namespace platform::script {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// "Enter", "Tab+Shift", "esc+ctrl+alt".
bool ParseKey(const std::string& keyText, KeyMessage& key) {
  std::size_t start = 0;
  bool first = true;
  while (start <= keyText.size()) {
    const std::size_t plus = keyText.find('+', start);
    const std::string part =
        Lower(keyText.substr(start, plus == std::string::npos ? std::string::npos : plus - start));
    if (first) {
      if (part == "enter")
        key.key = Key::Enter;
      else if (part == "f12")
        key.key = Key::F12;
      else if (part == "esc")
        key.key = Key::Esc;
      else if (part == "tab")
        key.key = Key::Tab;
      else
        return false;
      first = false;
    } else if (part == "shift") {
      key.shift = true;
    } else if (part == "ctrl") {
      key.ctrl = true;
    } else if (part == "alt") {
      key.alt = true;
    } else {
      return false;
    }
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  return true;
}

bool ToCp932(const std::string& utf8, std::string& text, std::string& error) {
  cp932::Conversion converted = cp932::FromUtf8(utf8);
  if (!converted.ok) {
    error = "text has no code page 932 form: " + converted.error;
    return false;
  }
  text = std::move(converted.text);
  return true;
}

}  // namespace

const char* ActionName(ScriptAction::Kind kind) {
  switch (kind) {
    case ScriptAction::Kind::Set:
      return "set";
    case ScriptAction::Kind::Check:
      return "check";
    case ScriptAction::Kind::Focus:
      return "focus";
    case ScriptAction::Kind::Key:
      return "key";
    case ScriptAction::Kind::Click:
      return "click";
    case ScriptAction::Kind::Close:
      return "close";
    case ScriptAction::Kind::Answer:
      return "answer";
    case ScriptAction::Kind::Save:
      return "save";
    case ScriptAction::Kind::Cancel:
      return "cancel";
  }
  return "";
}

LineParse ParseScriptLine(const std::string& rawLine, int lineNumber, ScriptAction& action,
                          std::string& error) {
  std::string line = rawLine;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const std::size_t begin = line.find_first_not_of(" \t");
  if (begin == std::string::npos || line[begin] == '#') return LineParse::Skip;

  action = ScriptAction{};
  action.line = lineNumber;
  const std::size_t nameEnd = line.find(' ', begin);
  const std::string name =
      line.substr(begin, nameEnd == std::string::npos ? std::string::npos : nameEnd - begin);
  // The argument is everything after one blank: a typed text or a path may hold blanks.
  const std::string argument = nameEnd == std::string::npos ? std::string() : line.substr(nameEnd + 1);
  const auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return LineParse::Error;
  };

  if (name == "set") {
    action.kind = ScriptAction::Kind::Set;
    const std::size_t blank = argument.find(' ');
    if (!ParseInt(argument.substr(0, blank), action.id)) return fail("set needs a control id");
    const std::string typed = blank == std::string::npos ? std::string() : argument.substr(blank + 1);
    if (!ToCp932(typed, action.text, error)) return fail(error);
    return LineParse::Action;
  }
  if (name == "check") {
    action.kind = ScriptAction::Kind::Check;
    const std::size_t blank = argument.find(' ');
    if (blank == std::string::npos || !ParseInt(argument.substr(0, blank), action.id) ||
        !ParseInt(argument.substr(blank + 1), action.value) || (action.value != 0 && action.value != 1)) {
      return fail("check needs a control id and 0 or 1");
    }
    return LineParse::Action;
  }
  if (name == "focus" || name == "click") {
    action.kind = name == "focus" ? ScriptAction::Kind::Focus : ScriptAction::Kind::Click;
    if (!ParseInt(argument, action.id)) return fail(name + " needs a control id");
    return LineParse::Action;
  }
  if (name == "key") {
    action.kind = ScriptAction::Kind::Key;
    if (!ParseKey(argument, action.key)) return fail("unknown key \"" + argument + "\"");
    return LineParse::Action;
  }
  if (name == "close" || name == "cancel") {
    if (!argument.empty()) return fail(name + " takes no argument");
    action.kind = name == "close" ? ScriptAction::Kind::Close : ScriptAction::Kind::Cancel;
    return LineParse::Action;
  }
  if (name == "answer") {
    action.kind = ScriptAction::Kind::Answer;
    const std::string answer = Lower(argument);
    if (answer == "ok")
      action.value = IDOK;
    else if (answer == "yes")
      action.value = IDYES;
    else if (answer == "no")
      action.value = IDNO;
    else
      return fail("answer needs ok, yes or no");
    return LineParse::Action;
  }
  if (name == "save") {
    action.kind = ScriptAction::Kind::Save;
    if (argument.empty()) return fail("save needs a path");
    cp932::Conversion path = cp932::FromUtf8(argument);
    action.withoutCp932Form = !path.ok;
    action.text = path.ok ? std::move(path.text) : argument;
    return LineParse::Action;
  }
  return fail("unknown action \"" + name + "\"");
}

}  // namespace platform::script

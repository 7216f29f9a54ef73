// The scripted backend: plays the script's actions into the waiting dialog, answers message
// boxes and save-file dialogs from it, and records every event as a JSON line.
#include "platform/script/ScriptBackend.h"

#include <sstream>

#include "platform/Cp932.h"
#include "platform/script/ScriptAction.h"
#include "platform/ui/Dialog.h"

namespace platform::script {

struct ScriptBackend::Action : ScriptAction {};

namespace {

using Event = nlohmann::ordered_json;

constexpr int kProgressTemplate = 131;
constexpr int kProgressMainBar = 1016;

// UTF-8 of a code page 932 text; a byte that does not map becomes U+FFFD so that the
// transcript still shows the rest.
std::string Utf8(const std::string& text) {
  cp932::Conversion converted = cp932::ToUtf8(text);
  if (converted.ok) return converted.text;
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t width =
        cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    cp932::Conversion one = cp932::ToUtf8(std::string_view(text).substr(i, width));
    out += one.ok ? one.text : "\xEF\xBF\xBD";
    i += width - 1;
  }
  return out;
}

Event Owner(HWND owner) {
  if (owner == 0) return nullptr;
  if (const CDialog* window = FindProgramWindow(owner)) return window->Template().id;
  return Event{{"host", owner}};
}

const char* IconName(unsigned type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONEXCLAMATION:
      return "exclamation";
    case MB_ICONQUESTION:
      return "question";
    case MB_ICONINFORMATION:
      return "information";
    default:
      return "none";
  }
}

const char* HostCallName(HostWindowCall::Kind kind) {
  switch (kind) {
    case HostWindowCall::Kind::Enable:
      return "enable";
    case HostWindowCall::Kind::Foreground:
      return "foreground";
    case HostWindowCall::Kind::BringToTop:
      return "bringToTop";
    case HostWindowCall::Kind::Parent:
      return "parent";
    case HostWindowCall::Kind::PostMessage:
      return "post";
  }
  return "";
}

// The chosen path as the real dialog returns it: the default extension is added to a file
// name that has none.
std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt) {
  if (defaultExt.empty()) return path;
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\' || path[i] == ':') {
      nameStart = i + 1;
    }
  }
  if (path.find('.', nameStart) != std::string::npos || nameStart == path.size()) return path;
  return path + "." + defaultExt;
}

bool IsAnswer(const ScriptAction& action) { return action.kind == ScriptAction::Kind::Answer; }
bool IsSaveAnswer(const ScriptAction& action) {
  return action.kind == ScriptAction::Kind::Save || action.kind == ScriptAction::Kind::Cancel;
}

}  // namespace

ScriptBackend::ScriptBackend(const std::string& scriptText, std::string transcriptPath)
    : transcriptPath_(std::move(transcriptPath)) {
  Parse(scriptText);
  if (!transcriptPath_.empty()) transcriptFile_ = std::fopen(transcriptPath_.c_str(), "wb");
}

ScriptBackend::~ScriptBackend() {
  if (transcriptFile_) std::fclose(transcriptFile_);
}

void ScriptBackend::Parse(const std::string& scriptText) {
  std::istringstream lines(scriptText);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    Action action;
    std::string error;
    switch (ParseScriptLine(line, lineNumber, action, error)) {
      case LineParse::Action:
        actions_.push_back(std::move(action));
        break;
      case LineParse::Skip:
        break;
      case LineParse::Error:
        errors_.push_back(error);
        break;
    }
  }
}

void ScriptBackend::Record(const nlohmann::ordered_json& event) {
  transcript_.emplace_back(event);
  if (!transcriptFile_) return;
  const std::string line =
      event.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  std::fwrite(line.data(), 1, line.size(), transcriptFile_);
  std::fflush(transcriptFile_);
}

const ScriptBackend::Action* ScriptBackend::TakeNextIf(bool (*accepts)(const Action&)) {
  if (next_ >= actions_.size() || !accepts(actions_[next_])) return nullptr;
  return &actions_[next_++];
}

void ScriptBackend::Ignored(const Action& action, const char* reason) {
  Record(Event{{"event", "scriptIgnored"},
               {"line", action.line},
               {"action", ActionName(action.kind)},
               {"reason", reason}});
}

void ScriptBackend::RunModal(CDialog& dialog) {
  while (!dialog.HasEnded()) {
    if (next_ >= actions_.size()) {
      Record(Event{{"event", "scriptEnded"}, {"template", dialog.Template().id}});
      dialog.UserKey(KeyMessage{Key::Esc});
      if (!dialog.HasEnded()) dialog.EndDialog(IDCANCEL);
      return;
    }
    const Action action = actions_[next_++];
    Perform(dialog, action);
  }
}

void ScriptBackend::Perform(CDialog& dialog, const Action& action) {
  const ControlState* control = dialog.Control(action.id);
  const bool needsControl =
      action.kind == ScriptAction::Kind::Set || action.kind == ScriptAction::Kind::Check ||
      action.kind == ScriptAction::Kind::Focus || action.kind == ScriptAction::Kind::Click;
  if (needsControl && !control) return Ignored(action, "unknownControl");
  if (needsControl && !control->enabled) return Ignored(action, "disabled");
  const bool isButton = control && (control->tmpl.kind == ControlKind::PushButton ||
                                    control->tmpl.kind == ControlKind::RadioButton ||
                                    control->tmpl.kind == ControlKind::CheckBox);
  switch (action.kind) {
    case ScriptAction::Kind::Set:
      if (control->tmpl.kind != ControlKind::Edit) return Ignored(action, "notEdit");
      dialog.UserSetText(action.id, action.text);
      return;
    case ScriptAction::Kind::Check:
      if (control->tmpl.kind != ControlKind::RadioButton && control->tmpl.kind != ControlKind::CheckBox) {
        return Ignored(action, "notButton");
      }
      if (control->checked == action.value) return;
      if (control->tmpl.kind == ControlKind::RadioButton && action.value == 0) {
        return Ignored(action, "cannotUncheck");
      }
      dialog.UserClick(action.id);
      return;
    case ScriptAction::Kind::Focus:
      if (!dialog.UserFocus(action.id)) return Ignored(action, "notFocusable");
      return;
    case ScriptAction::Kind::Click:
      if (!isButton) return Ignored(action, "notButton");
      dialog.UserClick(action.id);
      return;
    case ScriptAction::Kind::Key:
      dialog.UserKey(action.key);
      return;
    case ScriptAction::Kind::Close:
      dialog.UserClose();
      return;
    case ScriptAction::Kind::Answer:
    case ScriptAction::Kind::Save:
    case ScriptAction::Kind::Cancel:
      return Ignored(action, "noBox");
  }
}

int ScriptBackend::MessageBox(HWND owner, const std::string& text, const std::string& caption,
                              unsigned type) {
  const bool question = (type & MB_BUTTONMASK) == MB_YESNO;
  int answer = question ? IDNO : IDOK;
  bool scripted = false;
  if (next_ < actions_.size() && IsAnswer(actions_[next_])) {
    const int queued = actions_[next_].value;
    if (question ? (queued == IDYES || queued == IDNO) : queued == IDOK) {
      answer = queued;
      scripted = true;
      ++next_;
    }
  }
  Record(Event{{"event", "messageBox"},
               {"owner", Owner(owner)},
               {"caption", Utf8(caption)},
               {"text", Utf8(text)},
               {"icon", IconName(type)},
               {"buttons", question ? "yesno" : "ok"},
               {"answer", answer == IDYES  ? "yes"
                          : answer == IDNO ? "no"
                                           : "ok"},
               {"scripted", scripted}});
  return answer;
}

SaveFileAnswer ScriptBackend::SaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
  const Action* action = TakeNextIf([](const Action& a) { return IsSaveAnswer(a); });
  const bool save = action && action->kind == ScriptAction::Kind::Save && !action->withoutCp932Form;
  const bool withoutForm = action && action->kind == ScriptAction::Kind::Save && action->withoutCp932Form;
  if (save) chosenPath = WithDefaultExtension(action->text, request.defaultExt);
  Event path = nullptr;
  if (save) path = Utf8(chosenPath);
  if (withoutForm) path = action->text;
  Record(Event{{"event", "saveFileDialog"},
               {"owner", Owner(request.owner)},
               {"title", Utf8(request.title)},
               {"folder", Utf8(request.initialDir)},
               {"fileName", Utf8(request.fileName)},
               {"filter", Utf8(request.filter)},
               {"defaultExt", Utf8(request.defaultExt)},
               {"flags", request.flags},
               {"answer", save          ? "save"
                          : withoutForm ? "nameWithoutCp932Form"
                                        : "cancel"},
               {"path", path}});
  if (withoutForm) return SaveFileAnswer::NameWithoutCp932Form;
  return save ? SaveFileAnswer::Chosen : SaveFileAnswer::Cancelled;
}

void ScriptBackend::DialogInitialised(CDialog& dialog) {
  Event controls = Event::array();
  for (const ControlState& control : dialog.Controls()) {
    if (control.tmpl.id == IDC_STATIC) continue;
    controls.push_back(Event{{"id", control.tmpl.id},
                             {"text", Utf8(control.text)},
                             {"enabled", control.enabled},
                             {"checked", control.checked}});
  }
  Record(Event{{"event", "dialog"},
               {"template", dialog.Template().id},
               {"caption", Utf8(dialog.GetWindowText())},
               {"controls", controls}});
}

void ScriptBackend::DialogEnded(CDialog& dialog) {
  Record(Event{{"event", "dialogEnd"}, {"template", dialog.Template().id}, {"result", dialog.Result()}});
}

void ScriptBackend::WindowShown(CDialog& dialog, bool shown) {
  Record(Event{{"event", "window"},
               {"template", dialog.Template().id},
               {"call", shown ? "show" : "hide"},
               {"parent", dialog.ParentWindow()}});
}

void ScriptBackend::WindowDestroyed(CDialog& dialog) {
  Record(Event{{"event", "window"},
               {"template", dialog.Template().id},
               {"call", "destroy"},
               {"parent", dialog.ParentWindow()}});
}

void ScriptBackend::ParentChanged(CDialog& dialog, HWND parent) {
  Record(
      Event{{"event", "window"}, {"template", dialog.Template().id}, {"call", "parent"}, {"parent", parent}});
}

void ScriptBackend::CaptionChanged(CDialog& dialog) {
  if (dialog.Template().id == kProgressTemplate) {
    const ControlState* mainBar = dialog.Control(kProgressMainBar);
    Record(Event{{"event", "progress"},
                 {"caption", Utf8(dialog.GetWindowText())},
                 {"position", mainBar ? mainBar->pos : 0}});
    return;
  }
  Record(Event{
      {"event", "caption"}, {"template", dialog.Template().id}, {"caption", Utf8(dialog.GetWindowText())}});
}

void ScriptBackend::FocusMoved(CDialog& dialog, int id, bool wholeTextSelected) {
  Record(Event{{"event", "focus"},
               {"template", dialog.Template().id},
               {"control", id},
               {"selectAll", wholeTextSelected}});
}

void ScriptBackend::WaitCursor(int depth) { Record(Event{{"event", "waitCursor"}, {"depth", depth}}); }

void ScriptBackend::HostCall(const HostWindowCall& call) {
  Record(Event{{"event", "host"},
               {"call", HostCallName(call.kind)},
               {"hwnd", call.hwnd},
               {"enable", call.enable},
               {"child", call.child},
               {"message", call.message},
               {"wParam", call.wParam},
               {"lParam", call.lParam},
               {"delivered", call.delivered}});
}

void ScriptBackend::RunEnded(int status) { Record(Event{{"event", "exit"}, {"status", status}}); }

void ScriptBackend::ErrorReported(const std::string& line) {
  Record(Event{{"event", "error"}, {"text", line}});
}

}  // namespace platform::script

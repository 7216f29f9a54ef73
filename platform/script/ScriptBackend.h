// The scripted automation backend: no window is shown; a script plays the user's side and
// every thing the program shows is recorded as a transcript event (JSON, texts in UTF-8).
//
// Script: one action a line, consumed in order while a dialog waits:
//   set ID TEXT | check ID 0|1 | focus ID | key KEY[+Shift|+Ctrl|+Alt] (Enter, F12, Esc, Tab)
//   click ID | close | answer ok|yes|no (the next message box) | save PATH | cancel (the next
//   save-file dialog). Blank lines and lines starting with # are ignored.
//
// Transcript events (one JSON object each, "event" names the kind):
//   {"event":"messageBox","owner":OWNER,"caption":..,"text":..,"icon":"exclamation|question|information|none",
//    "buttons":"ok|yesno","answer":"ok|yes|no","scripted":bool}
//   {"event":"dialog","template":ID,"caption":..,"controls":[{"id":..,"text":..,"enabled":..,"checked":..}]}
//   {"event":"dialogEnd","template":ID,"result":N}
//   {"event":"focus","template":ID,"control":ID,"selectAll":bool}
//   {"event":"saveFileDialog","owner":OWNER,"title":..,"folder":..,"fileName":..,"filter":..,
//    "defaultExt":..,"flags":N,"answer":"save|cancel|nameWithoutCp932Form","path":..}
//   {"event":"progress","caption":..,"position":N}   (template 131; N = main bar 1016)
//   {"event":"caption","template":ID,"caption":..}   (any other program window)
//   {"event":"window","template":ID,"call":"show|hide|parent|destroy","parent":HWND}
//   {"event":"host","call":"enable|foreground|bringToTop|parent|post","hwnd":N,"enable":bool,
//    "child":N,"message":N,"wParam":N,"lParam":N,"delivered":bool}
//   {"event":"waitCursor","depth":N}
//   {"event":"scriptEnded","template":ID}   (a dialog still waiting when the script ended: closed as Esc)
//   {"event":"scriptIgnored","line":N,"action":..,"reason":..}   (a line that could not act)
//   {"event":"error","text":..}   (a failure the program explains in one line, as on standard error)
//   {"event":"exit","status":N}
// OWNER is the template id of the program window that owns the box, {"host":HWND}, or null.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/ui/UiBackend.h"

namespace platform::script {

class ScriptBackend : public UiBackend {
 public:
  // scriptText: the script, UTF-8. transcriptPath: where each event is appended as a JSON
  // line when it happens (none: kept in memory only).
  explicit ScriptBackend(const std::string& scriptText, std::string transcriptPath = {});
  ~ScriptBackend() override;

  const std::vector<nlohmann::json>& Transcript() const { return transcript_; }
  // Lines the parser did not understand ("line N: ..."); the script must not run when any.
  const std::vector<std::string>& ScriptErrors() const { return errors_; }
  // False when a transcript path was given but the file could not be created.
  bool TranscriptWritable() const { return transcriptPath_.empty() || transcriptFile_ != nullptr; }

  void RunModal(CDialog& dialog) override;
  int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type) override;
  SaveFileAnswer SaveFileDialog(const FileDialogRequest& request, std::string& chosenPath) override;

  void DialogInitialised(CDialog&) override;
  void DialogEnded(CDialog&) override;
  void WindowShown(CDialog&, bool) override;
  void WindowDestroyed(CDialog&) override;
  void CaptionChanged(CDialog&) override;
  void FocusMoved(CDialog&, int, bool) override;
  void ParentChanged(CDialog&, HWND) override;
  void WaitCursor(int) override;
  void HostCall(const HostWindowCall&) override;
  void RunEnded(int) override;
  void ErrorReported(const std::string& line) override;

 private:
  struct Action;
  void Record(const nlohmann::ordered_json& event);
  void Parse(const std::string& scriptText);
  void Perform(CDialog& dialog, const Action& action);
  void Ignored(const Action& action, const char* reason);
  // The next action when it is of one of the kinds asked for; consumed then.
  const Action* TakeNextIf(bool (*accepts)(const Action&));

  std::vector<Action> actions_;
  std::size_t next_ = 0;
  std::vector<nlohmann::json> transcript_;
  std::string transcriptPath_;
  std::FILE* transcriptFile_ = nullptr;
  std::vector<std::string> errors_;
};

}  // namespace platform::script

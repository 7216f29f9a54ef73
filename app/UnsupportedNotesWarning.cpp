// The unsupported-notes warning: a fixed head, one line per marked note kind, a fixed tail,
// within the 1,024-byte text of the message.
#include "app/UnsupportedNotesWarning.h"

#include "platform/Cp932.h"

namespace {

constexpr std::size_t kWarningCapacity = 1024;

struct UnsupportedNote {
  int code;
  const std::string& (*line)();
};

const UnsupportedNote kUnsupportedNotes[] = {
    {32, []() -> const std::string& { return SJ("・会計上の見積もりに関する注記\n"); }},
    {20, []() -> const std::string& { return SJ("・会計上の見積もりの変更に関する注記\n"); }},
    {21, []() -> const std::string& { return SJ("・誤謬の訂正に関する注記\n"); }},
    {16, []() -> const std::string& { return SJ("・金融商品に関する注記\n"); }},
    {17, []() -> const std::string& { return SJ("・賃貸等不動産に関する注記\n"); }},
    {33, []() -> const std::string& { return SJ("・収益認識に関する注記\n"); }},
};

}  // namespace

std::string UnsupportedNotesWarning(const uint8_t (&flags)[kNoteDispFlagCount]) {
  std::string text;
  for (const UnsupportedNote& note : kUnsupportedNotes) {
    if (flags[note.code] == 0) continue;
    if (text.empty()) {
      text = SJ("以下の注記は連動に対応していません。\nこれらの注記はZentor上で手入力してください。\n\n");
    }
    text += note.line();
  }
  if (text.empty()) return text;
  text += SJ("\nこれらの注記を除いて処理を続行します。");
  return platform::cp932::BoundedString(text, kWarningCapacity - 1);
}

// The extended dialog template's layout: a header (version 1, signature 0xFFFF, help id,
// extended and plain styles, item count, rectangle), no menu, the default dialog class, the
// caption, the font (points, weight, italic, character set, face), then the items, each
// starting on a DWORD boundary (help id, extended and plain styles, rectangle, a 32-bit id,
// the class as an ordinal or a name, the text, no creation data).
#include "platform/win32ui/DialogTemplateEx.h"

#include <string>

#include "platform/win32ui/Win32Text.h"

#include <windows.h>
// The common controls' declarations need windows.h first.
#include <commctrl.h>

namespace platform::win32ui {
namespace {

// Predefined classes as ordinals, as resource compilers write them.
constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;

class TemplateWriter {
 public:
  void Word(std::uint16_t value) { words_.push_back(value); }
  void Dword(std::uint32_t value) {
    Word(static_cast<std::uint16_t>(value & 0xFFFF));
    Word(static_cast<std::uint16_t>(value >> 16));
  }
  void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
  void Text(const std::wstring& text) {
    for (const wchar_t unit : text) Word(static_cast<std::uint16_t>(unit));
    Word(0);
  }
  void AlignDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  std::vector<std::uint32_t> Dwords() {
    AlignDword();
    std::vector<std::uint32_t> block(words_.size() / 2);
    for (std::size_t i = 0; i < block.size(); ++i) {
      block[i] =
          static_cast<std::uint32_t>(words_[2 * i]) | (static_cast<std::uint32_t>(words_[2 * i + 1]) << 16);
    }
    return block;
  }

 private:
  std::vector<std::uint16_t> words_;
};

DWORD DialogStyleOf(const DialogTemplate& tmpl) {
  DWORD style = DS_SETFONT | DS_CENTER;
  if (tmpl.style & DialogPopup) style |= WS_POPUP;
  if (tmpl.style & DialogCaption) style |= WS_CAPTION;
  if (tmpl.style & DialogSysMenu) style |= WS_SYSMENU;
  if (tmpl.style & DialogModalFrame) style |= DS_MODALFRAME;
  if (tmpl.style & DialogSystemModal) style |= DS_SYSMODAL;
  if (tmpl.style & DialogVisible) style |= WS_VISIBLE;
  return style;
}

DWORD ControlStyleOf(const ControlTemplate& control) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (control.style & StyleTabStop) style |= WS_TABSTOP;
  if (control.style & StyleGroup) style |= WS_GROUP;
  if (control.style & StyleDisabled) style |= WS_DISABLED;
  if (control.style & StyleBorder) style |= WS_BORDER;
  const bool right = (control.style & StyleAlignRight) != 0;
  switch (control.kind) {
    case ControlKind::Label:
      style |= right ? SS_RIGHT : SS_LEFT;
      if (control.style & StyleCenterV) style |= SS_CENTERIMAGE;
      break;
    case ControlKind::Edit:
      style |= right ? ES_RIGHT : ES_LEFT;
      if (control.style & StyleDigitsOnly) style |= ES_NUMBER;
      if (control.style & StyleAutoHScroll) style |= ES_AUTOHSCROLL;
      break;
    case ControlKind::PushButton:
      style |= (control.style & StyleDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case ControlKind::RadioButton:
      style |= (control.style & StyleAutoRadio) ? BS_AUTORADIOBUTTON : BS_RADIOBUTTON;
      break;
    case ControlKind::CheckBox:
      style |= (control.style & StyleAutoCheck) ? BS_AUTOCHECKBOX : BS_CHECKBOX;
      break;
    case ControlKind::GroupBox:
      style |= BS_GROUPBOX;
      break;
    case ControlKind::ProgressBar:
      if (control.style & StyleSmooth) style |= PBS_SMOOTH;
      break;
  }
  return style;
}

DWORD ControlExStyleOf(const ControlTemplate& control) {
  return (control.style & StyleStaticEdge) ? WS_EX_STATICEDGE : 0;
}

void WriteClass(TemplateWriter& out, ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      out.Word(0xFFFF);
      out.Word(kStaticAtom);
      return;
    case ControlKind::Edit:
      out.Word(0xFFFF);
      out.Word(kEditAtom);
      return;
    case ControlKind::ProgressBar:
      out.Text(PROGRESS_CLASSW);
      return;
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox:
      out.Word(0xFFFF);
      out.Word(kButtonAtom);
      return;
  }
}

}  // namespace

const wchar_t* ControlClassName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return L"Static";
    case ControlKind::Edit:
      return L"Edit";
    case ControlKind::ProgressBar:
      return PROGRESS_CLASSW;
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox:
      break;
  }
  return L"Button";
}

std::vector<std::uint32_t> BuildDialogTemplate(const DialogTemplate& tmpl) {
  TemplateWriter out;
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature: extended
  out.Dword(0);      // helpID
  // A system-modal dialog stays above every other window; DS_SYSMODAL alone does not make it
  // so on every system.
  out.Dword((tmpl.style & DialogSystemModal) ? WS_EX_TOPMOST : 0);
  out.Dword(DialogStyleOf(tmpl));
  out.Word(static_cast<std::uint16_t>(tmpl.controls.size()));
  out.Short(0);
  out.Short(0);
  out.Short(tmpl.width);
  out.Short(tmpl.height);
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(Wide(tmpl.caption));
  out.Word(static_cast<std::uint16_t>(tmpl.fontPoints > 0 ? tmpl.fontPoints : 9));
  out.Word(FW_NORMAL);
  // Italic, then the character set: the faces are Japanese.
  out.Word(static_cast<std::uint16_t>(SHIFTJIS_CHARSET << 8));
  out.Text(tmpl.fontName.empty() ? std::wstring(L"MS Shell Dlg") : Wide(tmpl.fontName));
  for (const ControlTemplate& control : tmpl.controls) {
    out.AlignDword();
    out.Dword(0);  // helpID
    out.Dword(ControlExStyleOf(control));
    out.Dword(ControlStyleOf(control));
    out.Short(control.x);
    out.Short(control.y);
    out.Short(control.width);
    out.Short(control.height);
    out.Dword(static_cast<std::uint32_t>(control.id));
    WriteClass(out, control.kind);
    out.Text(Wide(control.text));
    out.Word(0);  // no creation data
  }
  return out.Dwords();
}

}  // namespace platform::win32ui

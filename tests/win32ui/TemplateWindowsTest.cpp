// The in-memory templates checked by Windows itself: every program template is created as a
// real dialog (CreateDialogIndirectParamW), and each control's id, class, kind, styles, text
// and rectangle are read back from the windows and compared with the template. A misaligned
// item, a wrong class ordinal or a lost flag shows as a control that differs.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialog/ConditionsTemplate.h"
#include "platform/Cp932.h"
#include "platform/win32ui/DialogTemplateEx.h"
#include "runstate/ProgressWindow.h"
#include "tests/ui/TestDialogs.h"

#include <windows.h>
// The common controls' declarations need windows.h first.
#include <commctrl.h>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;

INT_PTR CALLBACK PlainProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The text a window shows, as UTF-8.
std::string Utf8Text(HWND hwnd) {
  wchar_t text[512] = {};
  const int length = ::GetWindowTextW(hwnd, text, 512);
  char utf8[2048] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8 - 1, nullptr, nullptr);
  return utf8;
}

std::string TemplateText(const std::string& cp932Text) {
  const platform::cp932::Conversion utf8 = platform::cp932::ToUtf8(cp932Text);
  EXPECT_TRUE(utf8.ok) << utf8.error;
  return utf8.text;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

// What the system's own controls are called, and the button type each kind must have.
struct KindOnWindows {
  ControlKind kind;
  const wchar_t* className;
  LONG buttonType;  // BS_TYPEMASK bits for buttons; -1 for the others
};

const KindOnWindows kKinds[] = {
    {ControlKind::Label, L"Static", -1},
    {ControlKind::Edit, L"Edit", -1},
    {ControlKind::PushButton, L"Button", BS_PUSHBUTTON},
    {ControlKind::RadioButton, L"Button", BS_AUTORADIOBUTTON},
    {ControlKind::CheckBox, L"Button", BS_AUTOCHECKBOX},
    {ControlKind::GroupBox, L"Button", BS_GROUPBOX},
    {ControlKind::ProgressBar, PROGRESS_CLASSW, -1},
};

const KindOnWindows& OnWindows(ControlKind kind) {
  for (const KindOnWindows& entry : kKinds) {
    if (entry.kind == kind) return entry;
  }
  return kKinds[0];
}

// One template flag and the style bit Windows must show for it on a control of that kind.
struct FlagOnWindows {
  std::uint32_t flag;
  LONG style;
  bool extended;
  std::vector<ControlKind> kinds;  // empty: every kind
  bool appliesTo(ControlKind kind) const {
    return kinds.empty() || std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
  }
};

const std::vector<FlagOnWindows>& Flags() {
  static const std::vector<FlagOnWindows> flags = {
      {platform::StyleTabStop, WS_TABSTOP, false, {}},
      {platform::StyleGroup, WS_GROUP, false, {}},
      {platform::StyleDisabled, WS_DISABLED, false, {}},
      {platform::StyleDigitsOnly, ES_NUMBER, false, {ControlKind::Edit}},
      {platform::StyleAlignRight, ES_RIGHT, false, {ControlKind::Edit}},
      {platform::StyleAlignRight, SS_RIGHT, false, {ControlKind::Label}},
      {platform::StyleCenterV, SS_CENTERIMAGE, false, {ControlKind::Label}},
      {platform::StyleAutoHScroll, ES_AUTOHSCROLL, false, {ControlKind::Edit}},
      {platform::StyleSmooth, PBS_SMOOTH, false, {ControlKind::ProgressBar}},
      {platform::StyleStaticEdge, WS_EX_STATICEDGE, true, {}},
  };
  return flags;
}

struct Case {
  const char* name;
  DialogTemplate tmpl;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

std::vector<Case> ProgramTemplates() {
  DialogTemplate sample = uitest::SampleTemplate();
  sample.caption = SJ("見本 - 全種類");
  sample.controls[0].text = SJ("月度(&S)");
  // Shown at creation, without a caption: the other two have one and start hidden.
  sample.style = platform::DialogPopup | platform::DialogVisible;
  return {
      {"conditions", ConditionsTemplate()}, {"progress", ProgressWindow::Template131()}, {"sample", sample}};
}

class TemplateWindows : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&controls));
    block_ = platform::win32ui::BuildDialogTemplate(GetParam().tmpl);
    dialog_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                           reinterpret_cast<LPCDLGTEMPLATEW>(block_.data()), nullptr,
                                           PlainProcedure, 0);
    ASSERT_NE(nullptr, dialog_) << "Windows refused the template, error " << ::GetLastError();
  }
  void TearDown() override {
    if (dialog_) ::DestroyWindow(dialog_);
  }

  // The dialog manager converts a control's origin and its size, each on its own.
  RECT DialogRect(int x, int y, int width, int height) const {
    RECT units{x, y, width, height};
    EXPECT_TRUE(::MapDialogRect(dialog_, &units));
    return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
  }

  std::vector<std::uint32_t> block_;
  HWND dialog_ = nullptr;
};

TEST_P(TemplateWindows, TheDialogHasTheTemplatesCaptionFontSizeAndStyle) {
  const DialogTemplate& tmpl = GetParam().tmpl;
  EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(block_.data()) % 4);
  EXPECT_EQ(TemplateText(tmpl.caption), Utf8Text(dialog_));

  const auto font = reinterpret_cast<HFONT>(::SendMessageW(dialog_, WM_GETFONT, 0, 0));
  ASSERT_NE(nullptr, font);
  LOGFONTW face{};
  ASSERT_NE(0, ::GetObjectW(font, sizeof face, &face));
  const std::string wantedFace = tmpl.fontName.empty() ? "MS Shell Dlg" : TemplateText(tmpl.fontName);
  char gotFace[128] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, face.lfFaceName, -1, gotFace, sizeof gotFace, nullptr, nullptr);
  EXPECT_EQ(wantedFace, gotFace);
  const HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(-::MulDiv(tmpl.fontPoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72), face.lfHeight);
  ::ReleaseDC(nullptr, screen);

  RECT client{};
  ::GetClientRect(dialog_, &client);
  const RECT wanted = DialogRect(0, 0, tmpl.width, tmpl.height);
  EXPECT_EQ(wanted.right, client.right);
  EXPECT_EQ(wanted.bottom, client.bottom);

  const LONG style = ::GetWindowLongW(dialog_, GWL_STYLE);
  EXPECT_EQ((tmpl.style & platform::DialogCaption) != 0, (style & WS_CAPTION) == WS_CAPTION);
  EXPECT_EQ((tmpl.style & platform::DialogSysMenu) != 0, (style & WS_SYSMENU) != 0);
  EXPECT_EQ((tmpl.style & platform::DialogVisible) != 0, ::IsWindowVisible(dialog_) != FALSE);
  // A system-modal dialog stays above every other window.
  const LONG exStyle = ::GetWindowLongW(dialog_, GWL_EXSTYLE);
  EXPECT_EQ((tmpl.style & platform::DialogSystemModal) != 0, (exStyle & WS_EX_TOPMOST) != 0);
}

TEST_P(TemplateWindows, EachControlIsTheTemplatesControl) {
  const DialogTemplate& tmpl = GetParam().tmpl;
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(dialog_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  ASSERT_EQ(tmpl.controls.size(), children.size());
  for (std::size_t i = 0; i < children.size(); ++i) {
    const ControlTemplate& control = tmpl.controls[i];
    const HWND window = children[i];
    SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(control.id));
    EXPECT_EQ(control.id, ::GetDlgCtrlID(window));
    const KindOnWindows& kind = OnWindows(control.kind);
    EXPECT_EQ(0, _wcsicmp(kind.className, ClassOf(window).c_str()));
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    if (kind.buttonType >= 0) {
      const LONG wantedType =
          control.style & platform::StyleDefaultButton ? BS_DEFPUSHBUTTON : kind.buttonType;
      EXPECT_EQ(wantedType, style & BS_TYPEMASK);
    }
    for (const FlagOnWindows& flag : Flags()) {
      if (!flag.appliesTo(control.kind)) continue;
      const bool set = ((flag.extended ? exStyle : style) & flag.style) == flag.style;
      EXPECT_EQ((control.style & flag.flag) != 0, set) << "flag " << flag.flag;
    }
    EXPECT_EQ((control.style & platform::StyleBorder) != 0,
              (style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0);
    EXPECT_EQ(TemplateText(control.text), Utf8Text(window));
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    const RECT wanted = DialogRect(control.x, control.y, control.width, control.height);
    EXPECT_EQ(wanted.left, rect.left);
    EXPECT_EQ(wanted.top, rect.top);
    EXPECT_EQ(wanted.right, rect.right);
    EXPECT_EQ(wanted.bottom, rect.bottom);
  }
}

INSTANTIATE_TEST_SUITE_P(ProgramTemplates, TemplateWindows, ::testing::ValuesIn(ProgramTemplates()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace

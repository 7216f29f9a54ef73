// Template 130 as data. Sizes are dialog units; texts are code page 932.
#include "dialog/ConditionsTemplate.h"

#include "platform/Cp932.h"

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::IDC_STATIC;

constexpr std::uint32_t kCaptionLabel = platform::StyleCenterV | platform::StyleGroup;
constexpr std::uint32_t kValueLabel = platform::StyleCenterV;
constexpr std::uint32_t kColon = platform::StyleAlignRight;
constexpr std::uint32_t kMonthEdit =
    platform::StyleDigitsOnly | platform::StyleAlignRight | platform::StyleBorder | platform::StyleTabStop;
constexpr std::uint32_t kPathEdit =
    platform::StyleBorder | platform::StyleStaticEdge | platform::StyleAutoHScroll | platform::StyleTabStop;

ControlTemplate Control(int id, ControlKind kind, const std::string& text, int x, int y, int width,
                        int height, std::uint32_t style, int maxLength = 0) {
  return ControlTemplate{id, kind, text, x, y, width, height, style, maxLength};
}

platform::DialogTemplate Build() {
  const ControlKind label = ControlKind::Label;
  platform::DialogTemplate t;
  t.id = kConditionsTemplateId;
  t.caption = SJ("決算書 - 集計条件");
  t.width = 282;
  t.height = 178;
  t.fontName = SJ("ＭＳ Ｐゴシック");
  t.fontPoints = 9;
  t.style =
      platform::DialogPopup | platform::DialogCaption | platform::DialogSysMenu | platform::DialogModalFrame;
  t.controls = {
      Control(1005, label, SJ("事業所名"), 7, 7, 35, 12, kCaptionLabel),
      Control(IDC_STATIC, label, SJ("："), 58, 7, 9, 12, kColon),
      Control(kIdcCompany, label, SJ(" 会社名"), 73, 7, 165, 12, kValueLabel),
      Control(1007, label, SJ("会計期間"), 7, 28, 35, 12, kCaptionLabel),
      Control(IDC_STATIC, label, SJ("："), 58, 28, 9, 12, kColon),
      Control(kIdcPeriod, label, SJ(" 2002/01/11～2002/12/31"), 73, 28, 165, 12, kValueLabel),
      Control(1009, label, SJ("集計期間"), 7, 49, 35, 12, kCaptionLabel),
      Control(IDC_STATIC, label, SJ("："), 58, 49, 9, 12, kColon),
      Control(1011, label, SJ("月度(&S)"), 96, 49, 25, 12, kCaptionLabel),
      Control(kIdcFirstMonth, ControlKind::Edit, "", 73, 49, 18, 12, kMonthEdit, 2),
      Control(1012, label, SJ("～"), 122, 50, 8, 12, kColon),
      Control(1013, label, SJ("月度(&E)"), 159, 49, 25, 12, kCaptionLabel),
      Control(kIdcLastMonth, ControlKind::Edit, "", 137, 49, 18, 12, kMonthEdit, 2),
      Control(1010, label, SJ("株主／社員資本"), 7, 70, 50, 12, kCaptionLabel),
      Control(1017, label, SJ("等変動計算書の"), 7, 80, 50, 12, kCaptionLabel),
      Control(1018, label, SJ("選択"), 7, 90, 50, 12, kCaptionLabel),
      Control(IDC_STATIC, label, SJ("："), 58, 70, 9, 12, kColon),
      Control(kIdcShareholdersKind, ControlKind::RadioButton, SJ("株主資本等変動計算書の情報を出力する(&K)"),
              74, 71, 178, 11, platform::StyleAutoRadio),
      Control(kIdcMembersKind, ControlKind::RadioButton, SJ("社員資本等変動計算書の情報を出力する(&M)"), 74,
              84, 178, 11, platform::StyleAutoRadio),
      Control(kIdcOutputGroup, ControlKind::GroupBox, SJ("出力先(&O)"), 7, 120, 268, 35,
              platform::StyleGroup),
      Control(kIdcOutputPath, ControlKind::Edit, "", 12, 134, 195, 12, kPathEdit, 255),
      Control(kIdcBrowse, ControlKind::PushButton, SJ("参照(&D)..."), 211, 133, 57, 14,
              platform::StyleTabStop),
      Control(kIdcExecute, ControlKind::PushButton, SJ("実行(F12)"), 156, 158, 57, 14,
              platform::StyleGroup | platform::StyleTabStop),
      Control(kIdcCancel, ControlKind::PushButton, SJ("キャンセル(Esc)"), 218, 158, 57, 14,
              platform::StyleGroup | platform::StyleTabStop),
      Control(kIdcGeneralLedger, ControlKind::CheckBox, SJ("総勘定元帳の情報を出力する(&N)"), 8, 104, 140, 12,
              platform::StyleAutoCheck | platform::StyleTabStop),
  };
  return t;
}

}  // namespace

const platform::DialogTemplate& ConditionsTemplate() {
  static const platform::DialogTemplate tmpl = Build();
  return tmpl;
}

// Dialog templates as data: the controls of a dialog with their ids, kinds, texts,
// positions and sizes in dialog units, and styles. Both UI backends lay windows out from these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

inline constexpr int IDC_STATIC = -1;

enum class ControlKind { Label, Edit, PushButton, RadioButton, CheckBox, GroupBox, ProgressBar };

// Control style bits (the subset of the Windows styles the templates use).
enum ControlStyle : std::uint32_t {
  StyleTabStop = 1u << 0,
  StyleGroup = 1u << 1,       // starts a group
  StyleDigitsOnly = 1u << 2,  // ES_NUMBER
  StyleAlignRight = 1u << 3,
  StyleCenterV = 1u << 4,  // SS_CENTERIMAGE
  StyleBorder = 1u << 5,
  StyleStaticEdge = 1u << 6,
  StyleAutoHScroll = 1u << 7,
  StyleDefaultButton = 1u << 8,
  StyleSmooth = 1u << 9,  // PBS_SMOOTH
  StyleDisabled = 1u << 10,
  StyleAutoRadio = 1u << 11,
  StyleAutoCheck = 1u << 12,
};

struct ControlTemplate {
  int id = IDC_STATIC;
  ControlKind kind = ControlKind::Label;
  std::string text;                         // code page 932
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  std::uint32_t style = 0;
  int maxLength = 0;  // edit limit in characters; 0 = none
};

// Window style bits of a dialog.
enum DialogStyle : std::uint32_t {
  DialogPopup = 1u << 0,
  DialogCaption = 1u << 1,
  DialogSysMenu = 1u << 2,
  DialogModalFrame = 1u << 3,
  DialogSystemModal = 1u << 4,
  DialogVisible = 1u << 5,
};

struct DialogTemplate {
  int id = 0;
  std::string caption;        // code page 932
  int width = 0, height = 0;  // dialog units
  std::string fontName;       // code page 932, e.g. "ＭＳ Ｐゴシック"
  int fontPoints = 9;
  std::uint32_t style = 0;
  std::vector<ControlTemplate> controls;  // template and tab order
};

}  // namespace platform

// The program's dialog templates as Win32 extended dialog templates (DLGTEMPLATEEX) in
// memory, for DialogBoxIndirectParamW and CreateDialogIndirectParamW: the dialog's caption,
// font, styles and size in dialog units, then one DWORD-aligned item per control with its
// id, class, styles, text and rectangle. Texts are UTF-16 from the code page 932 captions.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/DialogTemplate.h"

namespace platform::win32ui {

// The template's bytes, in 32-bit units so that the block starts DWORD-aligned. The dialog
// is centred on the screen; it is created visible only when its template says so.
std::vector<std::uint32_t> BuildDialogTemplate(const DialogTemplate& tmpl);

// The window class a control kind is created with ("Button", "Edit", "Static",
// "msctls_progress32").
const wchar_t* ControlClassName(ControlKind kind);

}  // namespace platform::win32ui

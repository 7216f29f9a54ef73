// The common save-file dialog (GetSaveFileNameW). On Windows the drive map is the identity,
// so the request's Windows-form folder and the chosen path are the system's own.
#pragma once

#include <string>

#include "platform/ui/FileDialog.h"
#include "platform/win32ui/NativeDialog.h"

namespace platform::win32ui {

// "Xml Files (*.xml)|*.xml||" as the dialog's filter: pairs ended by NULs, then one more.
std::wstring FilterOf(const std::string& windowsFilter);

// Chosen with the chosen file in code page 932; NameWithoutCp932Form when the chosen name
// has characters that code page 932 cannot hold (the program could not name that file).
SaveFileAnswer SaveFileDialog(const FileDialogRequest& request, NativeHandle owner, std::string& chosenPath);

}  // namespace platform::win32ui

// The save-file dialog over GetSaveFileNameW.
#include "platform/win32ui/Win32FileDialog.h"

#include <algorithm>
#include <vector>

#include "platform/win32ui/Win32Text.h"

#include <windows.h>
// The common dialogs' declarations need windows.h first.
#include <commdlg.h>

namespace platform::win32ui {
namespace {

// Room for a long path: the dialog fails when the chosen name does not fit.
constexpr std::size_t kNameCapacity = 32768;

}  // namespace

std::wstring FilterOf(const std::string& windowsFilter) {
  std::wstring filter = Wide(windowsFilter);
  // The '|' of the framework's filters are the NULs of the system's.
  for (wchar_t& unit : filter) {
    if (unit == L'|') unit = L'\0';
  }
  // Ended by two NULs whatever the filter ended with.
  while (!filter.empty() && filter.back() == L'\0') filter.pop_back();
  if (filter.empty()) return std::wstring(2, L'\0');
  filter.append(2, L'\0');
  return filter;
}

SaveFileAnswer SaveFileDialog(const FileDialogRequest& request, NativeHandle owner, std::string& chosenPath) {
  const std::wstring filter = FilterOf(request.filter);
  const std::wstring title = Wide(request.title);
  const std::wstring folder = Wide(request.initialDir);
  const std::wstring extension = Wide(request.defaultExt);
  std::vector<wchar_t> name(kNameCapacity, L'\0');
  const std::wstring initial = Wide(request.fileName);
  std::copy_n(initial.begin(), std::min(initial.size(), name.size() - 1), name.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = request.flags | OFN_EXPLORER;
  if (!::GetSaveFileNameW(&dialog)) return SaveFileAnswer::Cancelled;
  const std::wstring chosen(name.data());
  const std::string path = Narrow(chosen);
  // A name with characters left out would be another file's.
  if (Wide(path) != chosen) return SaveFileAnswer::NameWithoutCp932Form;
  chosenPath = path;
  return SaveFileAnswer::Chosen;
}

}  // namespace platform::win32ui

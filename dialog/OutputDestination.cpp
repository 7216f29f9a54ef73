// The output destination checks, in the order the user meets them.
#include "dialog/OutputDestination.h"

#include <cstdio>
#include <string>

#include "dialog/ConditionsMessages.h"
#include "dialog/PathRoutines.h"
#include "platform/WinFs.h"
#include "platform/ui/Window.h"

namespace win = platform::win;

namespace {

bool IsNetworkPath(std::string_view path) { return path.size() >= 2 && path[0] == '\\' && path[1] == '\\'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool HasValidPathCharacters(std::string_view path) {
  std::string_view remainder;
  if (IsNetworkPath(path)) {
    if (dialog::FindDoubleSeparator(path, 3) != std::string_view::npos) return false;
    remainder = path.substr(2);
  } else {
    if (dialog::FindDoubleSeparator(path, 0) != std::string_view::npos) return false;
    std::size_t colon = platform::cp932::FindChar(path, ':', 0);
    remainder = colon == std::string_view::npos ? path : path.substr(colon + 1);
  }
  for (char forbidden : std::string_view("/:,;*?\"><|")) {
    if (platform::cp932::FindChar(remainder, forbidden, 0) != std::string_view::npos) return false;
  }
  return true;
}

bool IsUsableDrive(std::string_view path) {
  if (IsNetworkPath(path)) {
    std::size_t first = platform::cp932::FindChar(path, '\\', 3);
    if (first == std::string_view::npos) return false;
    std::size_t second = platform::cp932::FindChar(path, '\\', first + 1);
    if (second == std::string_view::npos) return false;
    return win::_access(std::string(path.substr(0, second)), 6) == 0;
  }
  if (dialog::FindDoubleSeparator(path, 0) != std::string_view::npos) return false;
  if (path.empty() || !IsDriveLetter(path[0])) return false;
  char root[4];
  std::snprintf(root, sizeof root, "%c:\\", path[0] >= 'a' ? path[0] - 'a' + 'A' : path[0]);
  switch (win::GetDriveTypeA(root)) {
    case platform::DRIVE_UNKNOWN:
    case platform::DRIVE_CDROM:
    case platform::DRIVE_RAMDISK:
      return false;
    case platform::DRIVE_REMOVABLE:
    case platform::DRIVE_FIXED:
    case platform::DRIVE_REMOTE:
      return win::_access(root, 6) == 0;
    default:
      // A letter with no drive behind it passes here and fails when its folder is created.
      return true;
  }
}

bool ValidateOutputDestination(platform::CDialog& dialog, int pathEditId, std::string_view path,
                               bool outputPathFixed, const std::function<void()>& browse) {
  const platform::HWND owner = dialog.GetSafeHwnd();
  auto refuse = [&](const std::string& message) {
    ShowConditionsError(owner, message);
    dialog.SelectWholeText(pathEditId);
    return false;
  };
  auto confirmed = [&](const std::string& question) { return AskConditionsQuestion(owner, question); };

  if (path.empty()) {
    ShowConditionsError(owner, SJ("データ出力先が指定されていません。\n\n出力先を指定してください。"));
    browse();
    return false;
  }
  if (!HasValidPathCharacters(path)) {
    return refuse(SJ("データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。"));
  }
  if (!IsUsableDrive(path)) {
    return refuse(SJ("ドライブ名が有効でありません。\n\n有効なドライブを指定してください。"));
  }
  const std::string& noFileName = SJ("ファイル名が指定されていません。");
  if (dialog::FileNamePart(path).empty()) return refuse(noFileName);

  std::string folder = dialog::FolderPart(path);
  if (!folder.empty() && win::_access(folder, 0) != 0) {
    if (!confirmed(SJ("指定されたフォルダは存在しません。\n\n作成してもよろしいですか？"))) {
      dialog.SelectWholeText(pathEditId);
      return false;
    }
    if (!dialog::CreateFolderTree(folder)) {
      return refuse(SJ("フォルダの作成に失敗しました。\n\n出力先を再入力してください。"));
    }
  }
  if (outputPathFixed) return true;

  switch (win::GetFileStatus(std::string(path))) {
    case win::FileStatus::Absent:
      return true;
    case win::FileStatus::Directory:
      return refuse(noFileName);
    case win::FileStatus::File:
      if (confirmed(SJ("同名のファイルが存在します。\n\n上書きしてもよろしいですか？"))) return true;
      dialog.SelectWholeText(pathEditId);
      return false;
  }
  return false;
}

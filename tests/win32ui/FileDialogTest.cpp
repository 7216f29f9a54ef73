// The save-file dialog: the framework's filter strings as the system's, and GetSaveFileNameW
// itself under Wine, answered by a user who types a Japanese name and presses the save
// button, or cancels.
#include <string>

#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "platform/win32ui/Win32FileDialog.h"

#include <windows.h>
// After windows.h; its OFN_ constants have the framework's values.
#include <commdlg.h>

namespace {

using platform::win32ui::FilterOf;

TEST(Win32FileDialog, FiltersBecomePairsEndedByTwoNuls) {
  struct Case {
    std::string framework;
    std::wstring system;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"Xml Files (*.xml)|*.xml||", L"Xml Files (*.xml)\0*.xml\0\0"s},
      {"Xml Files (*.xml)|*.xml|", L"Xml Files (*.xml)\0*.xml\0\0"s},
      {"A|*.a|B|*.b;*.c||", L"A\0*.a\0B\0*.b;*.c\0\0"s},
      {SJ("決算書 (*.xml)|*.xml||"), L"決算書 (*.xml)\0*.xml\0\0"s},
      {"", L"\0\0"s},
  };
  for (const Case& c : cases) EXPECT_EQ(c.system, FilterOf(c.framework)) << c.framework;
}

// The user of the next save-file dialog of this thread: types `name` and saves, or cancels.
std::wstring typedName;
UINT_PTR userTimer = 0;
std::wstring seenFolder;

void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM found) {
        wchar_t className[32] = {};
        ::GetClassNameW(hwnd, className, 32);
        if (!::IsWindowVisible(hwnd) || std::wstring(className) != L"#32770") return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  ::KillTimer(nullptr, userTimer);
  wchar_t folder[MAX_PATH] = {};
  // CDM_GETFOLDERPATH: the folder the dialog shows.
  ::SendMessageW(dialog, WM_USER + 0x0066, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  seenFolder = folder;
  if (typedName.empty()) {
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  // The file name box: a combo box (cmb13) on newer dialogs, an edit (edt1) on older ones.
  HWND name = ::GetDlgItem(dialog, 0x47c);
  if (!name) name = ::GetDlgItem(dialog, 0x480);
  ASSERT_NE(nullptr, name);
  ::SetWindowTextW(name, typedName.c_str());
  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class Win32SaveFileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"velmora-保存先-" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override { ::RemoveDirectoryW(folder_.c_str()); }

  platform::SaveFileAnswer Run(const std::wstring& name, std::string& chosen) {
    typedName = name;
    seenFolder.clear();
    userTimer = ::SetTimer(nullptr, 0, 20, Answer);
    platform::FileDialogRequest request;
    request.title = SJ("名前を付けて保存");
    request.initialDir = Cp932(folder_);
    request.fileName = "kessan.xml";
    request.defaultExt = "XML";
    request.filter = "Xml Files (*.xml)|*.xml||";
    request.flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const platform::SaveFileAnswer answer = platform::win32ui::SaveFileDialog(request, nullptr, chosen);
    ::KillTimer(nullptr, userTimer);
    return answer;
  }

  static std::string Cp932(const std::wstring& text) {
    char bytes[1024] = {};
    const int length = ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes,
                                             sizeof bytes, nullptr, nullptr);
    return std::string(bytes, static_cast<std::size_t>(length));
  }

  std::wstring folder_;
};

TEST_F(Win32SaveFileDialog, StartsInTheRequestsFolderAndAnswersTheTypedNameWithTheDefaultExtension) {
  std::string chosen;
  ASSERT_EQ(platform::SaveFileAnswer::Chosen, Run(L"決算", chosen));
  EXPECT_EQ(0, _wcsicmp(folder_.c_str(), seenFolder.c_str()));
  // The default extension, in the case of the request or of the filter's pattern.
  const std::string stem = Cp932(folder_ + L"\\決算.");
  ASSERT_EQ(stem.size() + 3, chosen.size()) << chosen;
  EXPECT_EQ(stem, chosen.substr(0, stem.size()));
  EXPECT_EQ(0, _stricmp("xml", chosen.c_str() + stem.size())) << chosen;
}

TEST_F(Win32SaveFileDialog, CancelAnswersNothing) {
  std::string chosen = "untouched";
  EXPECT_EQ(platform::SaveFileAnswer::Cancelled, Run(L"", chosen));
  EXPECT_EQ(0, _wcsicmp(folder_.c_str(), seenFolder.c_str()));
  EXPECT_EQ("untouched", chosen);
}

TEST_F(Win32SaveFileDialog, ANameCodePage932CannotHoldIsToldApartFromACancel) {
  // An emoji (a surrogate pair), a JIS X 0213 character outside code page 932, a symbol
  // outside it: each would lose a character, and so name another file.
  for (const std::wstring name : {L"決算\U0001F600", L"\U00020BB7野家", L"\u266C"}) {
    std::string chosen = "untouched";
    EXPECT_EQ(platform::SaveFileAnswer::NameWithoutCp932Form, Run(name, chosen));
    EXPECT_EQ("untouched", chosen);
  }
}

}  // namespace

// The conditions dialog: initialisation with the refusals and the remembered settings,
// Execute, Browse, Cancel and the Enter/F12 key handling.
#include "dialog/ConditionsDialog.h"

#include <cstring>
#include <string_view>

#include "dialog/ConditionsMessages.h"
#include "dialog/ConditionsTemplate.h"
#include "dialog/DecimalValue.h"
#include "dialog/OutputDestination.h"
#include "dialog/PathRoutines.h"
#include "dialog/PeriodCheck.h"
#include "dialog/SettingsFile.h"
#include "platform/Cp932.h"
#include "platform/WinFs.h"
#include "platform/ui/FileDialog.h"
#include "runstate/FiscalMonths.h"
#include "runtime/HostCodes.h"
#include "runtime/Managers.h"

ConditionsDialog::ConditionsDialog(platform::HWND owner, const EditionProfile& edition)
    : platform::CDialog(ConditionsTemplate(), owner), edition_(edition) {}

ConditionsDialog::~ConditionsDialog() = default;

bool ConditionsDialog::OnInitDialog() {
  const platform::HWND self = GetSafeHwnd();
  if (isPastData == 1) {
    ShowConditionsError(
        self, SJ("過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。"));
    EndDialog(kConditionsCancel);
    return true;
  }
  if (companiesActReady != 1) {
    ShowConditionsError(
        self, SJ("選択された会計データは会社法(H18.5施行)に対応していないため、\n連携の対象として使用でき"
                 "ません。\n(Orbeckを起動し、[事業所・消費税情報設定]にて会社法対応データへ   \n変換するこ"
                 "とで、連携ができます。)\n\nアプリケーションを終了します。"));
    EndDialog(kConditionsCancel);
    return true;
  }

  LimitText(kIdcOutputPath, 255);

  std::memset(savedOutputPath, 0, sizeof savedOutputPath);
  int16_t firstMonth = 0;
  int16_t lastMonth = 0;
  int16_t kind = 1;
  int32_t withLedger = 1;
  std::string path;
  int16_t startMonth = 0;
  int16_t endCode = 0;
  MonthsOfPeriod(periodStart, periodEnd, &startMonth, &endCode);
  if (LoadSettings(firstMonth, lastMonth, kind, withLedger, path)) {
    platform::cp932::BoundedCopy(savedOutputPath, sizeof savedOutputPath, path);
  } else {
    firstMonth = startMonth;
    lastMonth = static_cast<int16_t>(endCode % 100);
  }

  if (path.empty()) {
    path = ClFileMgr::Inst().GetAppFolderPath(hostcode::kFolderOutput);
    if (path.empty()) {
      path = platform::cp932::BoundedString(platform::win::GetTempPathA(), platform::kPathCapacity - 1);
      // A folder already 260 bytes long is taken without a separator.
      if (!path.empty()) dialog::EnsureTrailingSeparator(path, platform::kPathCapacity);
    }
    // The wildcard is no valid file name: Execute rejects it, so the user is led to choose a file.
    path += "*.xml";
  }

  if (!hostOutputPath.empty()) {
    outputPathText = hostOutputPath;
    EnableDlgItem(kIdcBrowse, false);
    EnableDlgItem(kIdcOutputPath, false);
    SetDlgItemText(kIdcOutputGroup, SJ("出力先"));
    outputPathFixed = 1;
  } else {
    outputPathText = path;
    outputPathFixed = 0;
  }

  if (firstMonth == 0) firstMonth = startMonth;
  firstMonthText = std::to_string(firstMonth);
  lastMonthText = std::to_string(lastMonth);

  CheckDlgButton(kIdcShareholdersKind, kind == 2 ? 0 : 1);
  CheckDlgButton(kIdcMembersKind, kind == 2 ? 1 : 0);
  changesKind = kind;
  CheckDlgButton(kIdcGeneralLedger, withLedger);
  withGeneralLedger = withLedger;

  UpdateData(false);
  return true;
}

void ConditionsDialog::DoDataExchange(bool saveAndValidate) {
  if (saveAndValidate) {
    firstMonthText = GetDlgItemText(kIdcFirstMonth);
    lastMonthText = GetDlgItemText(kIdcLastMonth);
    outputPathText = GetDlgItemText(kIdcOutputPath);
    return;
  }
  SetDlgItemText(kIdcCompany, companyText);
  SetDlgItemText(kIdcPeriod, periodText);
  SetDlgItemText(kIdcFirstMonth, firstMonthText);
  SetDlgItemText(kIdcLastMonth, lastMonthText);
  SetDlgItemText(kIdcOutputPath, outputPathText);
}

bool ConditionsDialog::PreTranslateMessage(const platform::KeyMessage& key) {
  if (key.shift || key.ctrl || key.alt) return false;
  if (key.key == platform::Key::F12) {
    Execute();
    return true;
  }
  if (key.key != platform::Key::Enter) return false;
  switch (GetFocusId()) {
    case kIdcFirstMonth:
      SelectWholeText(kIdcLastMonth);
      return true;
    case kIdcLastMonth:
      if (IsDlgItemEnabled(kIdcBrowse)) {
        SelectWholeText(kIdcOutputPath);
      } else {
        SetFocusTo(kIdcExecute);
      }
      return true;
    case kIdcOutputPath:
      SetFocusTo(IsDlgItemEnabled(kIdcBrowse) ? kIdcBrowse : kIdcExecute);
      return true;
    case kIdcBrowse:
      Browse();
      return true;
    case kIdcExecute:
      Execute();
      return true;
    default:
      return false;
  }
}

bool ConditionsDialog::OnCommand(int id) {
  switch (id) {
    case kIdcExecute:
      Execute();
      return true;
    case kIdcBrowse:
      Browse();
      return true;
    case kIdcCancel:
      OnCancel();
      return true;
    default:
      return platform::CDialog::OnCommand(id);
  }
}

// The dialog has no default button: the platform's OK command (Enter where the key handling
// leaves it alone) must not end the dialog without the checks, so it does nothing.
void ConditionsDialog::OnOK() {}

void ConditionsDialog::OnCancel() {
  ShowConditionsNotice(GetSafeHwnd(), SJ("｢決算書｣の集計を中止します。"));
  EndDialog(kConditionsCancel);
}

void ConditionsDialog::Execute() {
  UpdateData(true);
  changesKind = IsDlgButtonChecked(kIdcMembersKind) ? 2 : 1;
  withGeneralLedger = IsDlgButtonChecked(kIdcGeneralLedger) ? 1 : 0;
  if (!CheckPeriod()) return;
  if (!ValidateOutputDestination(*this, kIdcOutputPath, outputPathText, outputPathFixed == 1,
                                 [this] { Browse(); })) {
    return;
  }
  EndDialog(kConditionsExecute);
}

bool ConditionsDialog::CheckPeriod() {
  PeriodCheck check = ValidatePeriod(firstMonthText, lastMonthText, periodStart, periodEnd, introMonthIndex);
  if (check.passed) return true;
  ShowConditionsError(GetSafeHwnd(),
                      check.message == PeriodMessage::BeforeIntroduction
                          ? SJ("集計期間には、導入開始月より前は指定できません。")
                          : SJ("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。"));
  SelectWholeText(check.focus == PeriodField::LastMonth ? kIdcLastMonth : kIdcFirstMonth);
  return false;
}

void ConditionsDialog::Browse() {
  UpdateData(true);
  std::string folder = dialog::FolderPart(outputPathText);
  std::string fileName = dialog::FileNamePart(outputPathText);
  if (folder.empty()) {
    std::size_t colon = platform::cp932::FindLastChar(outputPathText, ':');
    if (colon != std::string::npos) {
      folder = outputPathText.substr(0, colon + 1);
      fileName = outputPathText.substr(colon + 1);
    }
  }
  // A path without a folder would open the dialog wherever the process stands (the program's
  // own folder); the host's output folder is where the default path points.
  if (folder.empty()) folder = ClFileMgr::Inst().GetAppFolderPath(hostcode::kFolderOutput);
  platform::CFileDialog fileDialog(false, "XML", fileName,
                                   platform::OFN_HIDEREADONLY | platform::OFN_NOCHANGEDIR |
                                       platform::OFN_PATHMUSTEXIST | platform::OFN_FILEMUSTEXIST,
                                   "Xml Files (*.xml)|*.xml||", GetSafeHwnd());
  fileDialog.request.title = SJ("保存ファイルを指定");
  fileDialog.request.initialDir = folder;
  // A name the program cannot hold in code page 932 could only be written as another file's:
  // the user is told so and chooses again, rather than finding the choice silently dropped.
  while (fileDialog.DoModal() != platform::IDOK) {
    if (fileDialog.Answer() != platform::SaveFileAnswer::NameWithoutCp932Form) {
      SetFocusTo(kIdcExecute);
      return;
    }
    ShowConditionsError(GetSafeHwnd(),
                        SJ("保存先のフォルダ名またはファイル名に、使用できない文字（絵文字など）が"
                           "含まれています。\n\n別の保存先を指定してください。"));
  }
  outputPathText = fileDialog.GetPathName();
  SetDlgItemText(kIdcOutputPath, outputPathText);
  SetFocusTo(kIdcExecute);
}

std::string ConditionsDialog::SettingsFolder() const {
  if (!settingsFolder_) settingsFolder_ = ClFileMgr::Inst().GetAppFolderPath(hostcode::kFolderSettings);
  return *settingsFolder_;
}

std::string ConditionsDialog::SettingsKeyOfUser() const {
  return SettingsKey(std::string_view(userId, strnlen(userId, sizeof userId)), selectedNo1, selectedNo2);
}

bool ConditionsDialog::LoadSettings(int16_t& firstMonth, int16_t& lastMonth, int16_t& kind,
                                    int32_t& withLedger, std::string& path) {
  SettingsValues values{firstMonth, lastMonth, kind, withLedger, path};
  if (!LoadSettingsFile(SettingsFolder() + edition_.settingsFileName, SettingsKeyOfUser(), values))
    return false;
  firstMonth = values.firstMonth;
  lastMonth = values.lastMonth;
  kind = values.kind;
  withLedger = values.withLedger;
  path = platform::cp932::BoundedString(values.path, platform::kPathCapacity - 1);
  return true;
}

bool ConditionsDialog::SaveSettings(int16_t firstMonth, int16_t lastMonth, int16_t kind, int32_t withLedger,
                                    const std::string* path) {
  const std::string folder = SettingsFolder();
  const std::string key = SettingsKeyOfUser();
  SettingsValues values{firstMonth, lastMonth, kind, withLedger, path ? *path : std::string(savedOutputPath)};
  return SaveSettingsFile(folder, folder + edition_.settingsFileName, key, SettingsLine(key, values));
}

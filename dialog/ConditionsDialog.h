// The conditions dialog: company and period shown, months, kind of statement of changes,
// general-ledger option and output file chosen, checked before the run may start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "runstate/EditionProfile.h"

inline constexpr int kConditionsExecute = 1002;
inline constexpr int kConditionsCancel = 1003;

class ConditionsDialog : public platform::CDialog {
 public:
  ConditionsDialog(platform::HWND owner, const EditionProfile& edition);
  ~ConditionsDialog() override;

  // Inputs filled by the run driver before DoModal.
  std::string companyText;
  std::string periodText;
  int32_t periodStart = 0;
  int32_t periodEnd = 0;
  int16_t introMonthIndex = 0;
  int32_t isPastData = 0;
  int16_t companiesActReady = 0;
  std::string hostOutputPath;
  char userId[65] = {};
  int32_t selectedNo1 = 0;
  int32_t selectedNo2 = 0;

  // The dialog's state and result.
  std::string firstMonthText;
  std::string lastMonthText;
  std::string outputPathText;
  int16_t changesKind = 1;
  int32_t withGeneralLedger = 0;
  int32_t outputPathFixed = 0;
  char savedOutputPath[platform::kPathCapacity] = {};

  // The remembered conditions for this user and data; true when a line was found
  // (the outputs are left unchanged otherwise).
  bool LoadSettings(int16_t& firstMonth, int16_t& lastMonth, int16_t& kind, int32_t& withLedger,
                    std::string& path);
  // Stores the conditions of a successful run; path none = store savedOutputPath.
  bool SaveSettings(int16_t firstMonth, int16_t lastMonth, int16_t kind, int32_t withLedger,
                    const std::string* path);

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(bool saveAndValidate) override;
  bool PreTranslateMessage(const platform::KeyMessage& key) override;
  bool OnCommand(int id) override;
  void OnOK() override;
  void OnCancel() override;

 private:
  // The run's go-ahead: months and destination checked, then the dialog ends with 1002.
  void Execute();
  // The save-file dialog, started from the current path text; the focus ends on Execute.
  void Browse();
  // The month checks with their message and focus; true when they pass.
  bool CheckPeriod();
  // The host's settings folder (kind 1), as the host returns it; asked once, so that the
  // save after the document reads nothing that could fail when the document is in place.
  std::string SettingsFolder() const;
  // This user's and data's key of the settings file.
  std::string SettingsKeyOfUser() const;

  const EditionProfile& edition_;
  mutable std::optional<std::string> settingsFolder_;
};

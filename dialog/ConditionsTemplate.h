// Dialog template 130, the conditions dialog: its 25 controls in template and tab order.
#pragma once

#include "platform/ui/DialogTemplate.h"

// Control ids of the conditions dialog.
inline constexpr int kIdcLastMonth = 1000;
inline constexpr int kIdcBrowse = 1001;
inline constexpr int kIdcExecute = 1002;
inline constexpr int kIdcCancel = 1003;
inline constexpr int kIdcCompany = 1006;
inline constexpr int kIdcPeriod = 1008;
inline constexpr int kIdcOutputGroup = 1014;
inline constexpr int kIdcOutputPath = 1015;
inline constexpr int kIdcFirstMonth = 1016;
inline constexpr int kIdcShareholdersKind = 1019;
inline constexpr int kIdcMembersKind = 1020;
inline constexpr int kIdcGeneralLedger = 1021;

inline constexpr int kConditionsTemplateId = 130;

const platform::DialogTemplate& ConditionsTemplate();
